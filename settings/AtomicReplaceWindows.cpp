#include "AtomicReplace.h"

#include <windows.h>

#include "link/WindowsText.h"

namespace kel {

bool ReplaceFileAtomically(const std::string& from, const std::string& to, std::string& why)
{
    // Unlike rename(2), a plain rename on Windows refuses an existing target.
    // MoveFileEx replaces it in one step; write-through returns only once the
    // move is on disk.
    if (::MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD code = ::GetLastError();
    switch (code) {
    case ERROR_ACCESS_DENIED:
        why = "cannot replace " + to + ": it is read-only or a folder, or you may not write there";
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        why = "cannot replace " + to + ": another program has it open; close it and save again";
        break;
    default: why = "cannot replace " + to + ": " + WindowsErrorText(code);
    }
    return false;
}

}  // namespace kel
