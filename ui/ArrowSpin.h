#pragma once
#include <QWidget>

class QToolButton;

namespace kel::ui {

// An up-down arrow pair with no field of its own. A click asks for a step of
// +1 (up) or -1 (down); the owner decides what the step does. The position is
// only kept for display by the owner's rules, never changed here.
class ArrowSpin : public QWidget {
    Q_OBJECT
public:
    explicit ArrowSpin(QWidget* parent = nullptr);

    int position() const { return position_; }
    void setPosition(int position) { position_ = position; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void stepRequested(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    int position_ = 0;
};

}  // namespace kel::ui
