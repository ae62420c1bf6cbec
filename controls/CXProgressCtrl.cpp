#include "controls/CXProgressCtrl.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace kel {

CXProgressCtrl::CXProgressCtrl(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted from the off-screen buffer; nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CXProgressCtrl::~CXProgressCtrl() = default;

void CXProgressCtrl::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    update();
}

void CXProgressCtrl::setValue(int value)
{
    value_ = std::clamp(value, minimum_, maximum_);
    update();
}

void CXProgressCtrl::ShowText(const QString& text)
{
    text_ = text;
    showPercentage = 0;
    update();
}

double CXProgressCtrl::Fraction() const
{
    // An empty range has no defined fraction; it shows as empty.
    if (maximum_ == minimum_)
        return 0.0;
    return double(value_ - minimum_) / double(maximum_ - minimum_);
}

QString CXProgressCtrl::Caption() const
{
    if (showPercentage == 0)
        return text_;
    return QStringLiteral("%1% ").arg(int(std::lround(Fraction() * 100)));
}

QRect CXProgressCtrl::InnerRect() const
{
    return rect().adjusted(2, 2, -2, -2);
}

QRect CXProgressCtrl::BarRect() const
{
    const QRect inner = InnerRect();
    return QRect(inner.left(), inner.top(), int(inner.width() * Fraction()), inner.height());
}

QSize CXProgressCtrl::sizeHint() const
{
    return {350, 20};
}

namespace {

// A one-pixel frame as four filled strips, so that at any device pixel ratio
// it covers whole device pixels up to the rectangle's last row and column.
void FillFrame(QPainter& p, const QRect& r, const QColor& color)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

}  // namespace

void CXProgressCtrl::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, Render(devicePixelRatioF()));
}

QImage CXProgressCtrl::Render(qreal scale) const
{
    QImage buffer((QSizeF(size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(scale);
    buffer.fill(fieldColor);  // nothing of an earlier paint or of the allocator shows
    {
        QPainter p(&buffer);
        p.setFont(font());  // inherited from the parent window

        // Flat sunken border: shadow outside, face inside, then the field.
        const QRect all = rect();
        FillFrame(p, all, palette().color(QPalette::Dark));
        FillFrame(p, all.adjusted(1, 1, -1, -1), palette().color(QPalette::Button));
        const QRect inner = InnerRect();
        p.fillRect(inner, fieldColor);

        const QString caption = Caption();
        const QFontMetrics metrics(p.font());
        const int cx = metrics.horizontalAdvance(caption);
        const int cy = metrics.height();
        const QPoint baseline(inner.left() + (inner.width() - cx) / 2,
                              inner.top() + (inner.height() - cy) / 2 + metrics.ascent());

        const QRect bar = BarRect();
        p.fillRect(bar, barColor);
        p.setPen(captionColor);
        p.drawText(baseline, caption);
        p.setClipRect(bar);
        p.setPen(captionOnBarColor);
        p.drawText(baseline, caption);
    }
    return buffer;
}

}  // namespace kel
