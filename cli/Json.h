#pragma once
#include <string>
#include <string_view>

namespace kel::cli {

// A JSON string literal, escaped, always valid UTF-8: a byte that does not
// belong to a well-formed UTF-8 sequence (a file name in another encoding)
// is written as \u00XX, the character of that byte's value.
std::string JsonString(std::string_view text);

}  // namespace kel::cli
