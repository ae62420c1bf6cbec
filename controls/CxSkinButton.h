#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QRegion>

namespace kel {

// A push button painted entirely from skin bitmaps: normal, pressed, hover and
// disabled looks, and an optional mask (white = outside) that shapes the
// button and makes it transparent there. The caption is drawn over the bitmap
// in 9-point Arial and the caption color.
class CxSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CxSkinButton(QWidget* parent = nullptr);
    ~CxSkinButton() override;

    // Replaces every bitmap (ids from resources/ResourceIds.h, 0 for none; only
    // the low 16 bits count). A disabled id of 0 takes a copy of the normal
    // bitmap. A mask id shapes the button; with draw mode 0 the button then
    // takes the mask's size. Draw mode is clamped to 0..2, the focus margin
    // raised to 0.
    void ApplySkin(unsigned normalId, unsigned pressedId, unsigned hoverId, unsigned disabledId, unsigned maskId,
                   short drawMode, short border, short focusMargin);

    // The same with the bitmaps themselves (null for none), e.g. generated ones.
    struct Looks {
        QImage normal;
        QImage pressed;
        QImage hover;
        QImage disabled;  // null: a copy of the normal look
        QImage mask;      // null: rectangular
    };
    void ApplySkin(const Looks& looks, short drawMode, short border, short focusMargin);

    // With this on, a missing disabled bitmap is made from the normal one,
    // greyed and dimmed, instead of being a plain copy of it, so a disabled
    // button does not look live.
    void SetGeneratedDisabledLook(bool on);

    // Sets the caption color and returns the previous one; does not repaint.
    QColor SetCaptionColor(const QColor& color);
    QColor CaptionColor() const { return captionColor_; }

    // State, for the owner and for tests.
    bool IsHovering() const { return hover_; }
    bool IsPressed() const { return pressed_; }
    int DrawMode() const { return drawMode_; }
    int FocusMargin() const { return focusMargin_; }
    bool HasBorder() const { return border_ != 0; }
    // The shape built from the mask; empty when there is no mask or when the
    // mask is white everywhere (see HasEmptyShape).
    QRegion Shape() const { return shape_; }
    bool HasEmptyShape() const { return emptyShape_; }
    // The focus mark shows: the button has the focus and got it from the keyboard.
    bool ShowsFocusMark() const;

    // Where DrawItem puts the caption's top-left corner for this text and size.
    static QPoint CaptionOrigin(const QString& text, QSize size, const QFont& font);
    static QFont CaptionFont();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum Look { kNormal, kPressed, kHover, kDisabled, kMask, kLookCount };
    // A look at the painter's device pixel ratio: bitmaps loaded by id are
    // painted again for it; others are used as they are.
    QImage LookAt(Look look, qreal scale) const;
    void DrawFocusMark(QPainter& painter) const;
    void SetShape(const QRegion& shape, bool fromMask);
    void SetHover(bool hover);

    bool hover_ = false;
    bool pressed_ = false;
    QImage normal_;
    QImage pressedLook_;
    QImage disabled_;
    QImage mask_;
    QImage hoverLook_;
    int focusMargin_ = 0;
    QColor captionColor_;
    QRegion shape_;
    bool emptyShape_ = false;
    int border_ = 0;
    int drawMode_ = 1;
    unsigned ids_[kLookCount] = {};
    bool generatedDisabled_ = false;
    bool disabledIsCopy_ = false;
    bool keyboardFocus_ = false;
};

}  // namespace kel
