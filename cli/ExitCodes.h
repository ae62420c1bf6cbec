#pragma once

namespace kel::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDevice = 1;  // the exchange failed or nothing answered
inline constexpr int kExitDiffer = 1;  // diff: the two sides differ
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFile = 3;  // a file could not be read or has the wrong size or form

}  // namespace kel::cli
