#include "controls/SkinDrawing.h"

#include <QPainter>

namespace kel {
namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;

// The part of `image` that lands in a w x h rectangle under the draw mode.
QImage Fit(const QImage& image, QSize size, int drawMode)
{
    if (drawMode == kDrawStretch)
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image.copy(QRect(QPoint(0, 0), size));  // outside the image: zero pixels
}

}  // namespace

void TileBitmap(QPainter& painter, const QImage& bitmap, const QRect& rect)
{
    if (bitmap.isNull() || rect.isEmpty())
        return;
    const int bw = bitmap.width();
    const int bh = bitmap.height();
    for (int y = rect.top(); y <= rect.bottom(); y += bh) {
        const int h = std::min(bh, rect.bottom() + 1 - y);
        for (int x = rect.left(); x <= rect.right(); x += bw) {
            const int w = std::min(bw, rect.right() + 1 - x);
            painter.drawImage(QPoint(x, y), bitmap, QRect(0, 0, w, h));
        }
    }
}

void PaintBitmap(QPainter& painter, const QImage& bitmap, const QImage& mask, const QRect& rect, int drawMode)
{
    if (drawMode == kDrawTile) {
        TileBitmap(painter, bitmap, rect);
        return;
    }
    if (bitmap.isNull() || rect.isEmpty())
        return;
    // A bitmap painted for a finer screen fills the same rectangle with more pixels.
    const qreal scale = bitmap.devicePixelRatio();
    const QSize pixels = (QSizeF(rect.size()) * scale).toSize();
    QImage source = Fit(bitmap, pixels, drawMode).convertToFormat(QImage::Format_RGB32);
    source.setDevicePixelRatio(scale);
    if (mask.isNull()) {
        painter.drawImage(rect.topLeft(), source);
        return;
    }
    // Compose once: transparent where the mask is white, the bitmap elsewhere,
    // then one transfer onto the target.
    const QImage fittedMask =
        (mask.devicePixelRatio() == scale ? Fit(mask, pixels, drawMode) : mask.scaled(pixels, Qt::IgnoreAspectRatio))
            .convertToFormat(QImage::Format_RGB32);
    QImage composed(pixels, QImage::Format_ARGB32);
    composed.setDevicePixelRatio(scale);
    for (int y = 0; y < composed.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const auto* keep = reinterpret_cast<const QRgb*>(fittedMask.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(composed.scanLine(y));
        for (int x = 0; x < composed.width(); ++x)
            to[x] = (keep[x] & kRgbMask) == kRgbMask ? 0u : (from[x] | 0xFF000000u);
    }
    painter.drawImage(rect.topLeft(), composed);
}

QRegion BuildMaskRegion(const QImage& mask, QRgb key)
{
    QRegion region;
    if (mask.isNull())
        return region;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const QRgb keyRgb = key & kRgbMask;
    // Rows top to bottom, so each rectangle appends below the region built so far.
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            if ((line[x] & kRgbMask) == keyRgb) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < pixels.width() && (line[x] & kRgbMask) != keyRgb)
                ++x;
            region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

}  // namespace kel
