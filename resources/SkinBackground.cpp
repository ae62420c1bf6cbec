// The window's face (129) and the Home page picture (176).
#include <QPainter>
#include <QRadialGradient>

#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"
#include "resources/SkinPainters.h"
#include "resources/SkinStyle.h"

namespace kel::skin::paint {
namespace {

using namespace kel::skin::style;

constexpr QRect kTabWell{42, 49, 592, 109};
constexpr QRect kPanelRect{14, 164, 640, 514};
constexpr QRect kDeviceBox{380, 522, 266, 153};
constexpr QRgb kBoxFill = qRgb(226, 229, 234);

void DrawTitle(QPainter& p)
{
    DrawText(p, QRect(24, 10, 80, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZORV"), Font(24, true),
             kAccent);
    DrawText(p, QRect(100, 10, 260, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ESC Programmer"), Font(15),
             kOnDarkMuted);
}

void DrawTabWell(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Color(kFrameShadow), 1));
    p.setBrush(Color(kWell));
    p.drawRoundedRect(QRectF(kTabWell).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setPen(QPen(Color(kFrameLine), 1));
    p.drawLine(QPointF(kTabWell.left() + 6, kTabWell.bottom() + 1.5),
               QPointF(kTabWell.right() - 6, kTabWell.bottom() + 1.5));
    p.restore();
}

void DrawPanel(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Color(kFrameShadow), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(kPanelRect).adjusted(-0.5, -0.5, 0.5, 0.5), 7, 7);
    p.setPen(QPen(Color(kPanelEdge), 1));
    p.setBrush(Color(kPanel));
    p.drawRoundedRect(QRectF(kPanelRect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.drawLine(QPointF(kPanelRect.left() + 6, kPanelRect.top() + 1.5),
               QPointF(kPanelRect.right() - 6, kPanelRect.top() + 1.5));
    p.restore();
}

void DrawDeviceBox(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Color(kPanelEdge), 1));
    p.setBrush(Color(kBoxFill));
    p.drawRoundedRect(QRectF(kDeviceBox).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Color(kPanelEdge));
    p.drawLine(kDeviceBox.left() + 10, 577, kDeviceBox.right() - 10, 577);
    p.restore();

    DrawText(p, QRect(kDeviceBox.left(), 526, kDeviceBox.width(), 16), Qt::AlignCenter,
             QStringLiteral("Please Select Device and Connect"), Font(12, true), kInk);

    // Captions centred over their radio buttons.
    struct Radio {
        QPoint at;
        const char* caption;
    };
    const Radio radios[] = {
        {layout::kRadioEsc, "ESC"}, {layout::kRadioBox, "ProgramBox"}, {layout::kRadioFix, "FixMode"}};
    for (const Radio& radio : radios) {
        const int centre = radio.at.x() + layout::kRadioSize / 2;
        DrawText(p, QRect(centre - 40, 545, 80, 15), Qt::AlignHCenter | Qt::AlignBottom,
                 QString::fromLatin1(radio.caption), Font(12), kInk);
    }

    // Lamp captions, right-aligned just left of the lamps.
    struct Lamp {
        QRect at;
        const char* caption;
    };
    const Lamp lamps[] = {{layout::kLampBox, "ProgramBox Connection"},
                          {layout::kLampEsc, "ESC Connection"},
                          {layout::kLampUsb, "USB Connection"}};
    for (const Lamp& lamp : lamps)
        DrawText(p, QRect(lamp.at.left() - 200, lamp.at.top(), 192, lamp.at.height()),
                 Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(lamp.caption), Font(12), kInk);
}

// The key color marks what is not window: only the rounded-off bottom
// corners. Any painted pixel that happens to match it is nudged off it.
void CutOutline(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (kKeyColor & 0xFFFFFF))
                line[x] = qRgb(26, 35, 35);
    }
    // Seven window pixels per corner: 3 in the last row, 2 above, then 1 and 1.
    const int widths[] = {3, 2, 1, 1};
    const QRect bounds = Bounds(image);
    const int w = bounds.width();
    const int h = bounds.height();
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (int row = 0; row < 4; ++row) {
        p.fillRect(QRect(0, h - 1 - row, widths[row], 1), Color(kKeyColor));
        p.fillRect(QRect(w - widths[row], h - 1 - row, widths[row], 1), Color(kKeyColor));
    }
}

void DrawEmblem(QPainter& p, QPoint centre, int radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient disc(centre - QPoint(radius / 3, radius / 3), radius * 1.4);
    disc.setColorAt(0, Color(kButtonTop));
    disc.setColorAt(1, Color(kFrameBottom));
    p.setPen(QPen(Color(kFrameShadow), 2));
    p.setBrush(disc);
    p.drawEllipse(QPointF(centre), radius, radius);
    p.setPen(QPen(Color(kAccent), 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(centre), radius - 9, radius - 9);

    // A chip with pins.
    const QRectF chip(centre.x() - 30, centre.y() - 30, 60, 60);
    p.setPen(QPen(Color(kOnDarkMuted), 3, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 5; ++i) {
        const qreal offset = chip.left() + 8 + i * 11;
        p.drawLine(QPointF(offset, chip.top() - 10), QPointF(offset, chip.top()));
        p.drawLine(QPointF(offset, chip.bottom()), QPointF(offset, chip.bottom() + 10));
        const qreal y = chip.top() + 8 + i * 11;
        p.drawLine(QPointF(chip.left() - 10, y), QPointF(chip.left(), y));
        p.drawLine(QPointF(chip.right(), y), QPointF(chip.right() + 10, y));
    }
    p.setPen(QPen(Color(kOnDarkMuted), 2));
    p.setBrush(Color(kWell));
    p.drawRoundedRect(chip, 5, 5);

    // Lightning bolt on the chip.
    const QPointF c(centre);
    const QPointF bolt[] = {c + QPointF(5, -24), c + QPointF(-13, 4), c + QPointF(-1, 4),
                            c + QPointF(-6, 24), c + QPointF(13, -5), c + QPointF(1, -5)};
    p.setPen(QPen(Color(kAccentDark), 1));
    p.setBrush(Color(kAccent));
    p.drawPolygon(bolt, 6);
    p.restore();
}

}  // namespace

QImage Background()
{
    QImage image = NewImage(layout::kBackgroundSize, kFrameBottom);
    {
        const QRect bounds = Bounds(image);
        QPainter p(&image);
        FillMetal(p, bounds, kFrameTop, kFrameBottom);
        p.setPen(Color(kFrameLine));
        p.drawLine(0, 0, bounds.width() - 1, 0);
        p.drawLine(0, 0, 0, bounds.height() - 1);
        p.setPen(Color(kFrameShadow));
        p.drawLine(0, bounds.height() - 1, bounds.width() - 1, bounds.height() - 1);
        p.drawLine(bounds.width() - 1, 0, bounds.width() - 1, bounds.height() - 1);
        DrawTitle(p);
        DrawTabWell(p);
        DrawPanel(p);
        DrawDeviceBox(p);
    }
    CutOutline(image);
    return image;
}

QImage HomePicture()
{
    const QRect area = layout::kHomePicture;
    QImage image = CopyArea(Image(kel::id::bmp::kBackground, CurrentScale()), area);
    QPainter p(&image);
    p.translate(-area.topLeft());  // draw in window coordinates

    DrawEmblem(p, QPoint(335, 268), 80);
    DrawText(p, QRect(160, 354, 350, 34), Qt::AlignCenter, QStringLiteral("Firmware"), Font(28, true), kInk);

    // A dark display plate behind the version field, which shows yellow text.
    const QRect field = layout::kVersionField;
    DrawPlate(p, QRectF(field.adjusted(-4, -4, 4, 4)), 4, kWell, kFrameBottom, kFrameShadow);
    return image;
}

}  // namespace kel::skin::paint
