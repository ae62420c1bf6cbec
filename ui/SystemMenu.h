#pragma once
class QAction;
class QWidget;

namespace kel::ui {

// Puts `action` into the system menu of the top-level `window` (Alt+Space,
// the taskbar button's menu) after a separator, on systems where windows have
// one: Windows. Elsewhere it does nothing and the face menu alone offers it.
// One implementation per system: SystemMenuWindows.cpp, SystemMenuNone.cpp.
void AddToSystemMenu(QWidget& window, QAction& action);

}  // namespace kel::ui
