#include "SkinRadio.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

#include "controls/SkinDrawing.h"
#include "resources/SkinStyle.h"

namespace kel::ui {

using namespace kel::skin::style;

SkinRadio::SkinRadio(QWidget* parent) : QRadioButton(parent) {}

void SkinRadio::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Half a pixel in from every edge, so the ring's last row and column lie
    // inside the box.
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPointF centre = box.center();
    const qreal radius = std::min(box.width(), box.height()) / 2;
    const bool focus = ShowsFocusMark();
    p.setPen(QPen(Color(focus ? kAccentDark : kInkMuted), focus ? 1.5 : 1));
    p.setBrush(Color(isEnabled() ? qRgb(255, 255, 255) : kPanelGroove));
    p.drawEllipse(centre, radius - (focus ? 0.25 : 0), radius - (focus ? 0.25 : 0));
    if (isChecked()) {
        p.setPen(Qt::NoPen);
        p.setBrush(Color(kInk));
        p.drawEllipse(centre, radius / 2, radius / 2);
    }
}

void SkinRadio::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = FocusMarkAfter(event->reason(), true, keyboardFocus_);
    QRadioButton::focusInEvent(event);
}

void SkinRadio::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = FocusMarkAfter(event->reason(), false, keyboardFocus_);
    QRadioButton::focusOutEvent(event);
}

void SkinRadio::keyPressEvent(QKeyEvent* event)
{
    keyboardFocus_ = true;
    QRadioButton::keyPressEvent(event);
    update();
}

}  // namespace kel::ui
