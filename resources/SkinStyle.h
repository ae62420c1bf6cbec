#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

// The look of the skin in one place: a dark anodised frame, a light panel and
// one amber accent. Every bitmap painter takes its colors and fonts from here.
namespace kel::skin::style {

// Frame (anodised metal).
inline constexpr QRgb kFrameTop = qRgb(66, 71, 79);
inline constexpr QRgb kFrameBottom = qRgb(40, 43, 49);
inline constexpr QRgb kFrameLine = qRgb(104, 110, 119);  // bevel highlight
inline constexpr QRgb kFrameShadow = qRgb(17, 19, 22);   // bevel shadow, never the key color
inline constexpr QRgb kWell = qRgb(30, 32, 37);          // recess behind the page buttons

// Light panel the pages are drawn on.
inline constexpr QRgb kPanel = qRgb(236, 238, 241);
inline constexpr QRgb kPanelEdge = qRgb(150, 156, 164);
inline constexpr QRgb kPanelGroove = qRgb(206, 210, 216);
inline constexpr QRgb kInk = qRgb(28, 31, 35);
inline constexpr QRgb kInkMuted = qRgb(86, 92, 101);
inline constexpr QRgb kOnDark = qRgb(234, 236, 239);
inline constexpr QRgb kOnDarkMuted = qRgb(160, 166, 175);

// Accent.
inline constexpr QRgb kAccent = qRgb(255, 188, 16);
inline constexpr QRgb kAccentLight = qRgb(255, 212, 84);
inline constexpr QRgb kAccentDark = qRgb(196, 134, 0);

// Metal buttons.
inline constexpr QRgb kButtonTop = qRgb(88, 94, 103);
inline constexpr QRgb kButtonBottom = qRgb(54, 58, 65);
inline constexpr QRgb kButtonBorder = qRgb(20, 22, 26);

QColor Color(QRgb rgb);

// The skin's typeface (fonts::Arial, fully hinted). Sizes are in pixels.
QFont Font(int pixelSize, bool bold = false);

// The scale the bitmap being painted is made for (1 outside a painter).
qreal CurrentScale();
class ScaleScope {
public:
    explicit ScaleScope(qreal scale);
    ~ScaleScope();
    ScaleScope(const ScaleScope&) = delete;
    ScaleScope& operator=(const ScaleScope&) = delete;

private:
    qreal previous_;
};

// A new image of `size` window pixels at the current scale.
QImage NewImage(QSize size, QRgb fill);
// The part `area` (window pixels) of a scaled image, at its scale.
QImage CopyArea(const QImage& image, const QRect& area);
// An image's rectangle in window pixels.
QRect Bounds(const QImage& image);

// Anodised fill: vertical gradient with faint horizontal brushing.
void FillMetal(QPainter& painter, const QRect& rect, QRgb top, QRgb bottom);

// A rounded metal or accent plate with a 1 px border and a top highlight.
void DrawPlate(QPainter& painter, const QRectF& rect, qreal radius, QRgb top, QRgb bottom, QRgb border);

void DrawText(QPainter& painter, const QRect& rect, int flags, const QString& text, const QFont& font, QRgb color);

// The device pixels that `area` (window pixels) covers in an image of this scale.
QRect DeviceArea(const QRect& area, qreal scale);

// Binary shape at the current scale: black inside a rounded rectangle, white
// outside (white is the key color of masks). No anti-aliasing, so the shape
// is exact: a device pixel is inside when its centre is.
QImage RoundedMask(QSize size, int radius);

// Where a device pixel lies in a mask's shape. The rim is one window pixel
// wide, in whole device pixels (at least one).
enum class ShapePart { kOutside, kRim, kInterior };
ShapePart PartOf(const QImage& mask, int x, int y);

// Fills the black part of a mask with a vertical gradient and rims it with a
// border that follows the mask's outline pixel for pixel.
QImage FillShape(const QImage& mask, QRgb top, QRgb bottom, QRgb border);

}  // namespace kel::skin::style
