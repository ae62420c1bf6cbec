#include "resources/SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "resources/Fonts.h"

namespace kel::skin::style {

QColor Color(QRgb rgb)
{
    return QColor::fromRgb(rgb);
}

QFont Font(int pixelSize, bool bold)
{
    QFont font = fonts::ArialPixels(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

namespace {
qreal g_scale = 1.0;
}  // namespace

qreal CurrentScale()
{
    return g_scale;
}

ScaleScope::ScaleScope(qreal scale) : previous_(g_scale)
{
    g_scale = scale;
}

ScaleScope::~ScaleScope()
{
    g_scale = previous_;
}

QImage NewImage(QSize size, QRgb fill)
{
    QImage image(QSize(qRound(size.width() * g_scale), qRound(size.height() * g_scale)), QImage::Format_RGB32);
    image.setDevicePixelRatio(g_scale);
    image.fill(fill);
    return image;
}

QImage CopyArea(const QImage& image, const QRect& area)
{
    QImage part = image.copy(DeviceArea(area, image.devicePixelRatio()));
    part.setDevicePixelRatio(image.devicePixelRatio());
    return part;
}

QRect DeviceArea(const QRect& area, qreal scale)
{
    return QRect(qRound(area.x() * scale), qRound(area.y() * scale), qRound(area.width() * scale),
                 qRound(area.height() * scale));
}

QRect Bounds(const QImage& image)
{
    return QRect(QPoint(0, 0), image.deviceIndependentSize().toSize());
}

void FillMetal(QPainter& painter, const QRect& rect, QRgb top, QRgb bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, Color(top));
    gradient.setColorAt(1, Color(bottom));
    painter.fillRect(rect, gradient);
    // Brushing: every third line a shade lighter, deterministic.
    painter.save();
    painter.setPen(QColor(255, 255, 255, 7));
    for (int y = rect.top(); y <= rect.bottom(); y += 3)
        painter.drawLine(rect.left(), y, rect.right(), y);
    painter.restore();
}

void DrawPlate(QPainter& painter, const QRectF& rect, qreal radius, QRgb top, QRgb bottom, QRgb border)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, Color(top));
    gradient.setColorAt(1, Color(bottom));
    painter.setPen(QPen(Color(border), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.drawLine(QPointF(rect.left() + radius, rect.top() + 1.5), QPointF(rect.right() - radius, rect.top() + 1.5));
    painter.restore();
}

void DrawText(QPainter& painter, const QRect& rect, int flags, const QString& text, const QFont& font, QRgb color)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(Color(color));
    painter.drawText(rect, flags, text);
    painter.restore();
}

namespace {

bool Black(const QImage& mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < mask.width() && y < mask.height() && (mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

// Device pixel centre (px, py) inside a w x h rounded rectangle with corner radius r.
bool InRoundedRect(double px, double py, double w, double h, double r)
{
    const double ex = std::max({0.0, r - px, px - (w - r)});
    const double ey = std::max({0.0, r - py, py - (h - r)});
    return ex * ex + ey * ey <= r * r;
}

}  // namespace

QImage RoundedMask(QSize size, int radius)
{
    const qreal s = g_scale;
    QImage mask = NewImage(size, qRgb(255, 255, 255));
    // A widget shaped by this mask is clipped to its window-pixel version, so
    // a finer shape keeps only device pixels whose window pixels are all in it.
    QImage coarse;
    if (s != 1.0) {
        const ScaleScope windowPixels(1.0);
        coarse = RoundedMask(size, radius);
    }
    auto inCoarse = [&](int x, int y) {
        if (coarse.isNull())
            return true;
        for (int cy = int(std::floor(y / s)); cy < int(std::ceil((y + 1) / s)); ++cy)
            for (int cx = int(std::floor(x / s)); cx < int(std::ceil((x + 1) / s)); ++cx)
                if (!Black(coarse, cx, cy))
                    return false;
        return true;
    };
    for (int y = 0; y < mask.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < mask.width(); ++x)
            if (InRoundedRect(x + 0.5, y + 0.5, mask.width(), mask.height(), radius * s) && inCoarse(x, y))
                line[x] = qRgb(0, 0, 0);
    }
    return mask;
}

ShapePart PartOf(const QImage& mask, int x, int y)
{
    if (!Black(mask, x, y))
        return ShapePart::kOutside;
    const int rim = std::max(1, qRound(mask.devicePixelRatio()));
    for (int d = 1; d <= rim; ++d)
        if (!Black(mask, x - d, y) || !Black(mask, x + d, y) || !Black(mask, x, y - d) || !Black(mask, x, y + d))
            return ShapePart::kRim;
    return ShapePart::kInterior;
}

QImage FillShape(const QImage& mask, QRgb top, QRgb bottom, QRgb border)
{
    const int w = mask.width();
    const int h = mask.height();
    QImage image(mask.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(mask.devicePixelRatio());
    image.fill(qRgb(255, 255, 255));
    const QColor from = Color(top);
    const QColor to = Color(bottom);
    for (int y = 0; y < h; ++y) {
        const double t = h > 1 ? double(y) / (h - 1) : 0.0;
        const QRgb row = qRgb(int(std::lround(from.red() + (to.red() - from.red()) * t)),
                              int(std::lround(from.green() + (to.green() - from.green()) * t)),
                              int(std::lround(from.blue() + (to.blue() - from.blue()) * t)));
        for (int x = 0; x < w; ++x) {
            const ShapePart part = PartOf(mask, x, y);
            if (part != ShapePart::kOutside)
                image.setPixel(x, y, part == ShapePart::kRim ? border : row);
        }
    }
    return image;
}

}  // namespace kel::skin::style
