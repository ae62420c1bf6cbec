#include "ArrowSpin.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QWheelEvent>

namespace kel::ui {

namespace {
QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
}  // namespace

ArrowSpin::ArrowSpin(QWidget* parent)
    : QWidget(parent)
    , up_(MakeArrow(this, Qt::UpArrow, "up"))
    , down_(MakeArrow(this, Qt::DownArrow, "down"))
{
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, [this] { emit stepRequested(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepRequested(-1); });
}

void ArrowSpin::resizeEvent(QResizeEvent*)
{
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

void ArrowSpin::wheelEvent(QWheelEvent* event)
{
    if (!isEnabled())
        return;
    const int dy = event->angleDelta().y();
    if (dy != 0)
        emit stepRequested(dy > 0 ? +1 : -1);
    event->accept();
}

void ArrowSpin::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: emit stepRequested(+1); break;
    case Qt::Key_Down: emit stepRequested(-1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace kel::ui
