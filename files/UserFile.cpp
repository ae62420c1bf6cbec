#include "UserFile.h"

#include <utility>

namespace kel {

UserFile Refused(FileRefusal refusal, std::string reason)
{
    UserFile file;
    file.refusal = refusal;
    file.reason = std::move(reason);
    return file;
}

namespace file_reason {

std::string CannotOpen(const std::string& path, const std::string& why)
{
    if (path.empty())
        return "no file name was given";
    return "cannot open " + path + ": " + why;
}

std::string NotRegular(const std::string& path, const char* whatItIs)
{
    return path + " is " + whatItIs + ", not a regular file";
}

std::string TooLarge(const std::string& path, std::uintmax_t size, std::size_t maxBytes)
{
    return path + " is too large for its kind: " + std::to_string(size) + " bytes, and no such file has more than "
           + std::to_string(maxBytes);
}

std::string ReadFailed(const std::string& path, const std::string& why)
{
    return "cannot read " + path + ": " + why;
}

}  // namespace file_reason

}  // namespace kel
