#pragma once
#include <QFont>

// The program's two typefaces, each with fallbacks so text never goes missing
// where the first is not installed.
namespace kel::fonts {

// Arial, else its metric twin Liberation Sans, else DejaVu Sans.
QFont Arial(int points);
QFont ArialPixels(int pixels);
// Verdana, else DejaVu Sans.
QFont Verdana(int points);

}  // namespace kel::fonts
