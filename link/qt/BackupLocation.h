#pragma once
#include <string>

namespace kel {

// Where the window and kel-cli keep the backups of the ESC's settings: the
// application's data folder ("Kel") + "/backups". XDG_DATA_HOME moves it on
// Linux (the tests use that).
std::string BackupFolderPath();

}  // namespace kel
