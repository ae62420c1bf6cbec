#pragma once
#include <QRadioButton>

namespace kel::ui {

// A device radio button drawn in the skin's style and whole within its small
// box (12 x 12): a ring, a dot when chosen, and an amber ring while it has
// the keyboard focus.
class SkinRadio : public QRadioButton {
    Q_OBJECT
public:
    explicit SkinRadio(QWidget* parent = nullptr);

    bool ShowsFocusMark() const { return hasFocus() && keyboardFocus_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool keyboardFocus_ = false;
};

}  // namespace kel::ui
