#include "controls/CXProgressCtrl.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace kel {

CXProgressCtrl::CXProgressCtrl(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel is painted from the off-screen buffer; nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CXProgressCtrl::~CXProgressCtrl() = default;

void CXProgressCtrl::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_minimum, m_maximum);
    update();
}

void CXProgressCtrl::setValue(int value)
{
    m_value = std::clamp(value, m_minimum, m_maximum);
    update();
}

void CXProgressCtrl::ShowText(const QString& text)
{
    m_text = text;
    showPercentage = 0;
    update();
}

double CXProgressCtrl::Fraction() const
{
    // An empty range has no defined fraction; it shows as empty.
    if (m_maximum == m_minimum)
        return 0.0;
    return double(m_value - m_minimum) / double(m_maximum - m_minimum);
}

QString CXProgressCtrl::Caption() const
{
    if (showPercentage == 0)
        return m_text;
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
void FillFrame(QPainter& p, const QRect& r, const QColor& colour)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

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

} // namespace kel
