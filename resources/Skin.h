#pragma once
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <vector>

// The skin: every bitmap of the program, keyed by its resource identifier
// (resources/ResourceIds.h, kel::id::bmp). Bitmaps are painted in code on first
// use and cached for the rest of the run. Needs a QGuiApplication (fonts).
namespace kel::skin {

// Color of the background that is not part of the window: RGB(25, 35, 35).
inline constexpr QRgb kKeyColor = qRgb(25, 35, 35);

// The bitmap with this identifier; a null image or pixmap for an unknown one.
QImage Image(int id);
QPixmap Bitmap(int id);

// The same bitmap painted for a screen of this device pixel ratio: the same
// size in window pixels, `scale` times as many pixels (devicePixelRatio() is
// `scale`), so text and curves stay sharp. Masks and the masked buttons are
// built device pixel by device pixel, inside their window-pixel shape (which
// clips a masked button). The icon is only made at its own size.
QImage Image(int id, qreal scale);
QPixmap Bitmap(int id, qreal scale);

// What a bitmap button shows while disabled when it has no disabled bitmap of
// its own: the normal look, greyed and dimmed, at the normal look's scale.
QImage DisabledLook(const QImage& normal);

// The application icon (resource 227) in the usual sizes.
QIcon AppIcon();

// Every identifier Image() knows, in ascending order.
std::vector<int> BitmapIds();

}  // namespace kel::skin
