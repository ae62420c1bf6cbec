#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>

class QPainter;

// Bitmap drawing shared by the skinned controls.
namespace kel {

// The focus mark is for keyboard users. Whether a control shows it after its
// focus changed for `reason` (`gained` or lost), having shown it before or not:
// a window that is merely activated, or gets the focus back from a pop-up,
// keeps what it had.
inline bool FocusMarkAfter(Qt::FocusReason reason, bool gained, bool before)
{
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return before;
    return gained && reason != Qt::MouseFocusReason;
}

// How a bitmap fills a rectangle.
enum DrawMode : int {
    kDrawNatural = 0,  // natural size from the top-left corner (cut to the rectangle)
    kDrawStretch = 1,  // stretched to the rectangle
    kDrawTile = 2,     // tiled from the top-left corner
};

// Paints `bitmap` into `rect`. With a mask (mode 0 or 1), white mask pixels keep
// what is already there and every other pixel shows the bitmap; the mask is
// scaled or cut exactly like the bitmap. Mode 2 tiles and ignores the mask.
// A null bitmap draws nothing.
void PaintBitmap(QPainter& painter, const QImage& bitmap, const QImage& mask, const QRect& rect, int drawMode);

// Fills `rect` row by row with copies of the bitmap at its own size; the last
// column and row are cut to what remains.
void TileBitmap(QPainter& painter, const QImage& bitmap, const QRect& rect);

// The region of every pixel whose color differs from `key`, made of one
// one-pixel-high rectangle per maximal run in each row. Alpha is ignored.
QRegion BuildMaskRegion(const QImage& mask, QRgb key);

}  // namespace kel
