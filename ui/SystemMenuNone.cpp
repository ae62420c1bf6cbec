#include "SystemMenu.h"

namespace kel::ui {

void AddToSystemMenu(QWidget&, QAction&) {}

}  // namespace kel::ui
