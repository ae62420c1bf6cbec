// Masked buttons: the option button (184, 185, mask 201) and the profile
// buttons (179, 180, mask 181). Their outline comes from the mask, so the
// images are drawn for the shape and need no background under them.
#include <QPainter>

#include "resources/SkinLayout.h"
#include "resources/SkinPainters.h"
#include "resources/SkinStyle.h"

namespace kel::skin::paint {
namespace {

using namespace kel::skin::style;

constexpr int kOptionRadius = 5;
constexpr int kProfileRadius = 9;
constexpr int kArrowBoxWidth = 34;

bool Interior(const QImage& mask, int x, int y)
{
    auto inside = [&](int px, int py) {
        return px >= 0 && py >= 0 && px < mask.width() && py < mask.height() &&
               (mask.pixel(px, py) & 0xFFFFFF) != 0xFFFFFF;
    };
    return inside(x, y) && inside(x - 1, y) && inside(x + 1, y) && inside(x, y - 1) && inside(x, y + 1);
}

// Copies `layer` onto `image` wherever the mask's shape is interior (not rim).
void PasteInterior(QImage& image, const QImage& layer, const QImage& mask, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Interior(mask, x, y))
                image.setPixel(x, y, layer.pixel(x, y));
}

} // namespace

QImage OptionButtonMask()
{
    return RoundedMask(layout::kOptionButtonSize, kOptionRadius);
}

QImage OptionButton(bool pressed)
{
    const QImage mask = OptionButtonMask();
    QImage image = pressed ? FillShape(mask, qRgb(226, 229, 234), qRgb(240, 242, 245), kAccentDark)
                           : FillShape(mask, qRgb(255, 255, 255), qRgb(236, 239, 243), kPanelEdge);

    // Drop-down box at the right end: metal, amber while pressed.
    const QRect box(image.width() - kArrowBoxWidth, 0, kArrowBoxWidth, image.height());
    QImage layer = NewImage(image.size(), kPanel);
    {
        QPainter p(&layer);
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, Colour(pressed ? kAccent : kButtonTop));
        gradient.setColorAt(1, Colour(pressed ? kAccentLight : kButtonBottom));
        p.fillRect(box, gradient);
        p.setPen(Colour(pressed ? kAccentDark : kButtonBorder));
        p.drawLine(box.topLeft(), box.bottomLeft());
    }
    PasteInterior(image, layer, mask, box);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(pressed ? kInk : kAccent));
    const QPointF c(box.center().x() + 1, image.height() / 2.0 + (pressed ? 1 : 0));
    const QPointF arrow[] = {c + QPointF(-6, -3), c + QPointF(6, -3), c + QPointF(0, 4)};
    p.drawPolygon(arrow, 3);
    return image;
}

QImage ProfileButtonMask()
{
    return RoundedMask(layout::kProfileButtonSize, kProfileRadius);
}

QImage ProfileButton(bool pressed)
{
    const QImage mask = ProfileButtonMask();
    QImage image = pressed ? FillShape(mask, kButtonBottom, kButtonTop, kAccent)
                           : FillShape(mask, kButtonTop, kButtonBottom, kButtonBorder);
    if (!pressed) {
        // Top highlight on the interior.
        QImage layer = image.copy();
        QPainter p(&layer);
        p.setPen(QColor::fromRgb(kFrameLine));
        p.drawLine(0, 1, image.width() - 1, 1);
        p.end();
        PasteInterior(image, layer, mask, QRect(0, 1, image.width(), 1));
    }
    return image;
}

} // namespace kel::skin::paint
