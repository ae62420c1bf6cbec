#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// Saves `size` bytes under `path` the way users expect of a desktop program:
// - through a symbolic link (a chain of them) to the file it names;
// - keeping the permissions of the file it replaces;
// - refusing what is not a regular file (folder, device, FIFO, socket);
// - in one step: the bytes go to a short-named temporary file in the same
//   folder, are synced, and then replace the target; on any failure the old
//   file stays byte for byte and no temporary file is left.
// A temporary file that an earlier, killed run left in that folder (also the
// "TARGET.part-N" of earlier versions) is removed once it is older than
// kStaleTempSeconds.
// On failure returns false and sets `why` to a reason a user can act on.
bool SaveFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size, std::string& why);

// Names of the temporary files: ".kel-save-PID-N.tmp".
inline constexpr const char* kTempPrefix = ".kel-save-";
inline constexpr const char* kTempSuffix = ".tmp";
inline constexpr int kStaleTempSeconds = 60;

// The system error `error` (errno) of a save into `folder`, as a user sentence.
std::string SaveErrorText(int error, const std::string& folder);

}  // namespace kel
