#include "resources/Fonts.h"

#include <QStringList>

namespace kel::fonts {

namespace {
QFont ArialFamily()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    return font;
}
}  // namespace

QFont Arial(int points)
{
    QFont font = ArialFamily();
    font.setPointSize(points);
    return font;
}

QFont ArialPixels(int pixels)
{
    QFont font = ArialFamily();
    font.setPixelSize(pixels);
    return font;
}

QFont Verdana(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(points);
    return font;
}

}  // namespace kel::fonts
