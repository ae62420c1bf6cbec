#pragma once

class QMenu;
class QWidget;

namespace kel {
class TraceRing;
}

namespace kel::ui {

class Dialogs;

// "Save exchange log..." in the window's menu: writes the bytes `ring` keeps
// to a file the user chooses, in the format of kel --trace.
void AddExchangeLogEntry(QMenu& menu, QWidget& owner, Dialogs& dialogs, const TraceRing& ring);

}  // namespace kel::ui
