#include "resources/SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>

#include "resources/Fonts.h"

namespace kel::skin::style {

QColor Colour(QRgb rgb)
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
} // namespace

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
    const qreal s = image.devicePixelRatio();
    QImage part = image.copy(QRect(qRound(area.x() * s), qRound(area.y() * s), qRound(area.width() * s),
                                   qRound(area.height() * s)));
    part.setDevicePixelRatio(s);
    return part;
}

QRect Bounds(const QImage& image)
{
    return QRect(QPoint(0, 0), image.deviceIndependentSize().toSize());
}

void FillMetal(QPainter& painter, const QRect& rect, QRgb top, QRgb bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, Colour(top));
    gradient.setColorAt(1, Colour(bottom));
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
    gradient.setColorAt(0, Colour(top));
    gradient.setColorAt(1, Colour(bottom));
    painter.setPen(QPen(Colour(border), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.drawLine(QPointF(rect.left() + radius, rect.top() + 1.5), QPointF(rect.right() - radius, rect.top() + 1.5));
    painter.restore();
}

void DrawText(QPainter& painter, const QRect& rect, int flags, const QString& text, const QFont& font, QRgb colour)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(Colour(colour));
    painter.drawText(rect, flags, text);
    painter.restore();
}

QImage RoundedMask(QSize size, int radius)
{
    QImage mask = NewImage(size, qRgb(255, 255, 255));
    const int w = size.width();
    const int h = size.height();
    for (int y = 0; y < h; ++y) {
        // Inset of this row: distance from the corner circle, 0 away from corners.
        const int dy = y < radius ? radius - y : (y >= h - radius ? y - (h - radius - 1) : 0);
        int inset = 0;
        if (dy > 0) {
            while (inset < radius) {
                const int dx = radius - inset;
                if ((dx - 0.5) * (dx - 0.5) + (dy - 0.5) * (dy - 0.5) <= radius * radius)
                    break;
                ++inset;
            }
        }
        auto* line = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = inset; x < w - inset; ++x)
            line[x] = qRgb(0, 0, 0);
    }
    return mask;
}

QImage FillShape(const QImage& mask, QRgb top, QRgb bottom, QRgb border)
{
    const int w = mask.width();
    const int h = mask.height();
    QImage image = NewImage(mask.size(), qRgb(255, 255, 255));
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && (mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    };
    const QColor from = Colour(top);
    const QColor to = Colour(bottom);
    for (int y = 0; y < h; ++y) {
        const double t = h > 1 ? double(y) / (h - 1) : 0.0;
        const QRgb row = qRgb(int(from.red() + (to.red() - from.red()) * t + 0.5),
                              int(from.green() + (to.green() - from.green()) * t + 0.5),
                              int(from.blue() + (to.blue() - from.blue()) * t + 0.5));
        for (int x = 0; x < w; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            image.setPixel(x, y, edge ? border : row);
        }
    }
    return image;
}

} // namespace kel::skin::style
