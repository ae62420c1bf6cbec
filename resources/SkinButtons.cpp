// Bitmap buttons that sit on the window's face: page buttons, apply, defaults,
// update, close, minimise, and the MODE switch. Each is painted over the part
// of the face it covers, so its rounded corners blend in.
#include <QPainter>

#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"
#include "resources/SkinPainters.h"
#include "resources/SkinStyle.h"

namespace kel::skin::paint {
namespace {

using namespace kel::skin::style;
namespace b = kel::id::bmp;

QImage FaceUnder(QRect area)
{
    return CopyArea(Image(b::kBackground, CurrentScale()), area);
}

struct PageImage {
    int up;
    int down;
    QRect at;
    const char* name;
};

constexpr PageImage kPages[] = {
    {b::kPageHomeUp, b::kPageHomeDown, layout::kPageHome, "Home"},
    {b::kPageThrottleUp, b::kPageThrottleDown, layout::kPageThrottle, "Throttle Settings"},
    {b::kPageBoosterUp, b::kPageBoosterDown, layout::kPageBooster, "Booster Settings"},
    {b::kPageTurboUp, b::kPageTurboDown, layout::kPageTurbo, "Turbo Settings"},
    {b::kPageBrakeUp, b::kPageBrakeDown, layout::kPageBrake, "Brake Settings"},
    {b::kPageGeneralUp, b::kPageGeneralDown, layout::kPageGeneral, "General Settings"},
    {b::kPageProfileUp, b::kPageProfileDown, layout::kPageProfile, "Profile Settings"},
    {b::kPageModeUp, b::kPageModeDown, layout::kPageModeSelect, "Mode Select"},
};

void DrawCheck(QPainter& p, QPointF c, QRgb color)
{
    p.setPen(QPen(Color(color), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 10, 10);
    const QPointF tick[] = {c + QPointF(-5, 0), c + QPointF(-1, 4), c + QPointF(5, -4)};
    p.drawPolyline(tick, 3);
}

void DrawReset(QPainter& p, QPointF c, QRgb color)
{
    p.setPen(QPen(Color(color), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 10, c.y() - 10, 20, 20), 100 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Color(color));
    const QPointF head[] = {c + QPointF(-7, -13), c + QPointF(3, -10), c + QPointF(-5, -3)};
    p.drawPolygon(head, 3);
}

void DrawUpArrow(QPainter& p, QPointF c, QRgb color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Color(color));
    const QPointF arrow[] = {c + QPointF(0, -8),   c + QPointF(7, 0),    c + QPointF(2.5, 0), c + QPointF(2.5, 7),
                             c + QPointF(-2.5, 7), c + QPointF(-2.5, 0), c + QPointF(-7, 0)};
    p.drawPolygon(arrow, 7);
}

}  // namespace

QImage PageButton(int id)
{
    for (const PageImage& page : kPages) {
        if (id != page.up && id != page.down)
            continue;
        const bool down = id == page.down;
        QImage image = FaceUnder(page.at);
        QPainter p(&image);
        const QRect bounds = Bounds(image);
        const QRectF plate(1, 1, bounds.width() - 2, bounds.height() - 2);
        if (down)
            DrawPlate(p, plate, 5, kFrameBottom, kButtonTop, kButtonBorder);
        else
            DrawPlate(p, plate, 5, kButtonTop, kButtonBottom, kButtonBorder);
        const QRect text = bounds.adjusted(0, down ? 1 : 0, 0, down ? -4 : -2);
        DrawText(p, text, Qt::AlignCenter, QString::fromLatin1(page.name), Font(14, true), down ? kAccent : kOnDark);
        if (down)
            p.fillRect(QRect(20, bounds.height() - 8, bounds.width() - 40, 3), Color(kAccent));
        return image;
    }
    return {};
}

QImage ActionButton(int id)
{
    const bool down = id == b::kApplyDown || id == b::kDefaultsDown || id == b::kUpdateDown;
    const bool apply = id == b::kApplyUp || id == b::kApplyDown;
    const bool update = id == b::kUpdateUp || id == b::kUpdateDown;
    const QImage under = update ? CopyArea(Image(b::kHomePicture, CurrentScale()),
                                           layout::kUpdate.translated(-layout::kHomePicture.topLeft()))
                                : FaceUnder(apply ? layout::kApply : layout::kDefaults);
    QImage image = under;
    const QRect bounds = Bounds(image);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plate = QRectF(bounds).adjusted(1, 1, -1, -1).translated(0, down ? 1 : 0);
    // Writing to a device (apply, update) is amber; everything else is metal.
    const bool accent = apply || update;
    const QRgb ink = accent ? kInk : kOnDark;
    if (accent)
        DrawPlate(p, plate.adjusted(0, 0, 0, down ? -1 : 0), 6, down ? kAccentDark : kAccentLight, kAccent,
                  kAccentDark);
    else
        DrawPlate(p, plate.adjusted(0, 0, 0, down ? -1 : 0), 6, down ? kButtonBottom : kButtonTop,
                  down ? kButtonTop : kButtonBottom, kButtonBorder);

    const int shift = down ? 1 : 0;
    if (update) {
        DrawUpArrow(p, QPointF(28, 17.5 + shift), ink);
        DrawText(p, QRect(36, shift, bounds.width() - 50, bounds.height()), Qt::AlignCenter, QStringLiteral("Update"),
                 Font(15, true), ink);
        return image;
    }
    const QPointF icon(bounds.width() / 2.0, 24 + shift);
    if (apply)
        DrawCheck(p, icon, ink);
    else
        DrawReset(p, icon, ink);
    DrawText(p, QRect(0, 40 + shift, bounds.width(), 20), Qt::AlignCenter,
             apply ? QStringLiteral("Apply Settings") : QStringLiteral("Default Settings"), Font(13, true), ink);
    return image;
}

QImage FrameButton(int id)
{
    const bool close = id == b::kCloseUp || id == b::kCloseDown;
    const bool down = id == b::kCloseDown || id == b::kMinimiseDown;
    QImage image = FaceUnder(close ? layout::kClose : layout::kMinimise);
    const QRect bounds = Bounds(image);
    QPainter p(&image);
    const QRectF plate(bounds);
    if (down)
        DrawPlate(p, plate, 4, kAccentLight, kAccent, kAccentDark);
    else
        DrawPlate(p, plate, 4, kButtonTop, kButtonBottom, kButtonBorder);
    const QRgb glyph = down ? kInk : kOnDark;
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(bounds.width() / 2.0, bounds.height() / 2.0);
    if (close) {
        p.setPen(QPen(Color(glyph), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
        p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(Color(glyph));
        p.drawEllipse(c + QPointF(0, 4), 3, 3);
    }
    return image;
}

QImage ModeSwitch(bool mod)
{
    QImage image = FaceUnder(layout::kModeSwitch);
    const QRect bounds = Bounds(image);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF track(6, 8, bounds.width() - 12, bounds.height() - 16);
    const qreal r = track.height() / 2;
    DrawPlate(p, track, r, mod ? qRgb(92, 70, 14) : kWell, mod ? qRgb(130, 96, 10) : kButtonBottom, kButtonBorder);
    // Position marks at both ends of the track.
    p.setPen(QPen(Color(kOnDarkMuted), 2, Qt::SolidLine, Qt::RoundCap));
    const qreal markX = mod ? track.left() + r : track.right() - r;
    p.drawLine(QPointF(markX, track.center().y() - 5), QPointF(markX, track.center().y() + 5));

    const qreal knobR = bounds.height() / 2.0 - 4;
    const QPointF knob(mod ? bounds.width() - 4 - knobR : 4 + knobR, bounds.height() / 2.0);
    QRadialGradient gradient(knob - QPointF(knobR / 3, knobR / 3), knobR * 1.5);
    gradient.setColorAt(0, Color(kAccentLight));
    gradient.setColorAt(1, Color(kAccentDark));
    p.setPen(QPen(Color(kButtonBorder), 1));
    p.setBrush(gradient);
    p.drawEllipse(knob, knobR, knobR);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1.5));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(knob + QPointF(i * 5, -6), knob + QPointF(i * 5, 6));
    return image;
}

}  // namespace kel::skin::paint
