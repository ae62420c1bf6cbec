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

// Copies `layer` onto `image` wherever the mask's shape is interior (not rim),
// within `area` (window pixels).
void PasteInterior(QImage& image, const QImage& layer, const QImage& mask, const QRect& area)
{
    const QRect pixels = DeviceArea(area, image.devicePixelRatio()) & image.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (PartOf(mask, x, y) == ShapePart::kInterior)
                image.setPixel(x, y, layer.pixel(x, y));
}

}  // namespace

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
    const QRect bounds = Bounds(image);
    const QRect box(bounds.width() - kArrowBoxWidth, 0, kArrowBoxWidth, bounds.height());
    QImage layer = NewImage(bounds.size(), kPanel);
    {
        QPainter p(&layer);
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, Color(pressed ? kAccent : kButtonTop));
        gradient.setColorAt(1, Color(pressed ? kAccentLight : kButtonBottom));
        p.fillRect(box, gradient);
        // Its left edge, one window pixel wide at every scale.
        p.fillRect(QRect(box.left(), box.top(), 1, box.height()), Color(pressed ? kAccentDark : kButtonBorder));
    }
    PasteInterior(image, layer, mask, box);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Color(pressed ? kInk : kAccent));
    const QPointF c(box.center().x() + 1, bounds.height() / 2.0 + (pressed ? 1 : 0));
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
        const QRect line(0, 1, Bounds(image).width(), 1);
        QImage layer = image.copy();
        QPainter p(&layer);
        p.fillRect(line, QColor::fromRgb(kFrameLine));
        p.end();
        PasteInterior(image, layer, mask, line);
    }
    return image;
}

}  // namespace kel::skin::paint
