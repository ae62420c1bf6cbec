// Pictures: the lamps (130, 131), the pop-up background (183), the progress
// dialog background (169) and the application icon (227).
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

void DrawBolt(QPainter& p, QPointF c, qreal scale)
{
    const QPointF bolt[] = {c + QPointF(3, -13) * scale, c + QPointF(-8, 2) * scale, c + QPointF(-1, 2) * scale,
                            c + QPointF(-4, 13) * scale, c + QPointF(8, -3) * scale, c + QPointF(1, -3) * scale};
    p.drawPolygon(bolt, 6);
}

}  // namespace

QImage Lamp(bool lit)
{
    // All three lamps sit on the same flat part of the face.
    QImage image = CopyArea(Image(kel::id::bmp::kBackground, CurrentScale()), layout::kLampBox);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(16, 16);
    p.setPen(QPen(Color(kButtonBorder), 1));
    p.setBrush(Color(kButtonBottom));
    p.drawEllipse(c, 14.5, 14.5);

    QRadialGradient disc(c - QPointF(3.5, 3.5), 14);
    if (lit) {
        disc.setColorAt(0, QColor(255, 250, 190));
        disc.setColorAt(0.45, QColor(255, 214, 20));
        disc.setColorAt(1, QColor(214, 148, 0));
    } else {
        disc.setColorAt(0, QColor(78, 82, 88));
        disc.setColorAt(0.6, QColor(24, 25, 28));
        disc.setColorAt(1, QColor(6, 6, 8));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(c, 11.5, 11.5);
    p.setBrush(QColor(255, 255, 255, lit ? 150 : 55));
    p.drawEllipse(c - QPointF(4, 5), 3.5, 2.2);
    return image;
}

QImage PopupBackground()
{
    QImage image = NewImage(layout::kPopupSize, qRgb(251, 251, 249));
    QPainter p(&image);
    p.setPen(Color(kPanelEdge));
    p.drawRect(Bounds(image).adjusted(0, 0, -1, -1));
    return image;
}

QImage ProgressDlgBackground()
{
    QImage image = NewImage(layout::kProgressDlgBackgroundSize, kFrameBottom);
    const QRect bounds = Bounds(image);
    QPainter p(&image);
    FillMetal(p, bounds, kFrameTop, kFrameBottom);
    p.setPen(Color(kButtonBorder));
    p.drawRect(bounds.adjusted(0, 0, -1, -1));
    p.setPen(Color(kFrameLine));
    p.drawLine(1, 1, bounds.width() - 2, 1);

    DrawText(p, QRect(14, 8, 300, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Writing settings to the ESC"),
             Font(13, true), kOnDark);
    p.fillRect(QRect(14, 30, 40, 3), Color(kAccent));

    // Bezel around the bar (the bar covers 8,68 .. 371,95).
    p.setPen(Color(kFrameShadow));
    p.setBrush(Color(kWell));
    p.drawRect(QRect(5, 65, 369, 33));

    // Light strip for the detail line, which is written in black.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Color(kPanelEdge), 1));
    p.setBrush(Color(kPanel));
    p.drawRoundedRect(QRectF(5.5, 103.5, 368, 27), 3, 3);
    return image;
}

QImage Icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal s = size / 32.0;
    DrawPlate(p, QRectF(0, 0, size, size), 6 * s, kButtonTop, kFrameBottom, kButtonBorder);
    p.setPen(QPen(Color(kAccent), 2.2 * s));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16) * s, 11 * s, 11 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(Color(kAccent));
    DrawBolt(p, QPointF(16, 16) * s, 0.75 * s);
    return image;
}

}  // namespace kel::skin::paint
