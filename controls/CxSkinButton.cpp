#include "controls/CxSkinButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <qdrawutil.h>

#include "controls/SkinDrawing.h"
#include "resources/Fonts.h"
#include "resources/Skin.h"
#include "resources/SkinStyle.h"

namespace kel {
namespace {

constexpr QRgb kMaskKey = qRgb(255, 255, 255);

QImage LoadBitmap(unsigned id)
{
    const int resource = int(id & 0xFFFFu);
    return resource == 0 ? QImage() : skin::Image(resource);
}

}  // namespace

CxSkinButton::CxSkinButton(QWidget* parent)
    : QAbstractButton(parent)
    , captionColor_(palette().color(QPalette::ButtonText))
{
    // Hover follows the pointer without a button held.
    setMouseTracking(true);
    // No background erase: the parent's pixels stay where the mask keeps them.
    setAutoFillBackground(false);
}

CxSkinButton::~CxSkinButton() = default;

QFont CxSkinButton::CaptionFont()
{
    return fonts::Arial(9);
}

QPoint CxSkinButton::CaptionOrigin(const QString& text, QSize size, const QFont& font)
{
    const QFontMetrics metrics(font);
    // Integer divisions truncate toward zero, as the layout has always done.
    const int x = (size.width() - int(text.size()) * metrics.averageCharWidth()) / 2 - 5;
    const int y = (size.height() - metrics.height()) / 2;
    return {x, y};
}

void CxSkinButton::ApplySkin(unsigned normalId, unsigned pressedId, unsigned hoverId, unsigned disabledId,
                             unsigned maskId, short drawMode, short border, short focusMargin)
{
    Looks looks{LoadBitmap(normalId), LoadBitmap(pressedId), LoadBitmap(hoverId), LoadBitmap(disabledId),
                LoadBitmap(maskId)};
    ApplySkin(looks, drawMode, border, focusMargin);
    const unsigned ids[kLookCount] = {normalId & 0xFFFFu, pressedId & 0xFFFFu, hoverId & 0xFFFFu,
                                      (disabledId ? disabledId : normalId) & 0xFFFFu, maskId & 0xFFFFu};
    std::copy(std::begin(ids), std::end(ids), ids_);
}

void CxSkinButton::SetGeneratedDisabledLook(bool on)
{
    generatedDisabled_ = on;
    update();
}

QImage CxSkinButton::LookAt(Look look, qreal scale) const
{
    const bool generated = look == kDisabled && generatedDisabled_ && disabledIsCopy_;
    const QImage* own[kLookCount] = {&normal_, &pressedLook_, &hoverLook_, &disabled_, &mask_};
    QImage image = *own[look];
    if (scale != 1.0 && ids_[look] != 0)
        image = skin::Image(int(ids_[look]), scale);
    if (generated)
        return skin::DisabledLook(image);
    return image;
}

void CxSkinButton::ApplySkin(const Looks& looks, short drawMode, short border, short focusMargin)
{
    normal_ = looks.normal;
    pressedLook_ = looks.pressed;
    hoverLook_ = looks.hover;
    disabled_ = looks.disabled.isNull() ? looks.normal : looks.disabled;
    disabledIsCopy_ = looks.disabled.isNull();
    std::fill(std::begin(ids_), std::end(ids_), 0u);
    mask_ = looks.mask;

    drawMode_ = std::clamp<int>(drawMode, kDrawNatural, kDrawTile);
    border_ = border;
    focusMargin_ = std::max<int>(focusMargin, 0);

    if (!mask_.isNull()) {
        SetShape(BuildMaskRegion(mask_, kMaskKey), true);
        if (drawMode_ == kDrawNatural)
            resize(mask_.size());
    }
    update();
}

QColor CxSkinButton::SetCaptionColor(const QColor& color)
{
    const QColor previous = captionColor_;
    captionColor_ = color;
    return previous;
}

void CxSkinButton::SetShape(const QRegion& shape, bool fromMask)
{
    shape_ = shape;
    // An empty QRegion would mean "no mask" to Qt; a mask that is white
    // everywhere instead makes a button that shows nothing and takes no clicks.
    emptyShape_ = fromMask && shape.isEmpty();
    setAttribute(Qt::WA_TransparentForMouseEvents, emptyShape_);
    if (shape.isEmpty())
        clearMask();
    else
        setMask(shape);
}

QSize CxSkinButton::sizeHint() const
{
    if (!mask_.isNull())
        return mask_.size();
    return normal_.isNull() ? QSize(75, 23) : normal_.size();
}

bool CxSkinButton::hitButton(const QPoint& pos) const
{
    if (emptyShape_)
        return false;
    return shape_.isEmpty() ? rect().contains(pos) : shape_.contains(pos);
}

void CxSkinButton::paintEvent(QPaintEvent*)
{
    if (emptyShape_)
        return;
    QPainter painter(this);
    const QRect item = rect();
    const QFont font = CaptionFont();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QPoint origin = CaptionOrigin(text(), item.size(), font);
    const QPoint baseline = origin + QPoint(0, metrics.ascent());
    const QColor face = palette().color(QPalette::Button);
    const qreal scale = devicePixelRatioF();
    const QImage mask = LookAt(kMask, scale);

    auto paintLook = [&](const QImage& look) {
        if (look.isNull())
            painter.fillRect(item, face);
        else
            PaintBitmap(painter, look, mask, item, drawMode_);
    };

    if (!isEnabled()) {
        paintLook(LookAt(kDisabled, scale));
        if (border_ != 0)
            qDrawWinButton(&painter, item, palette(), false);
        painter.setClipRect(item);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(baseline + QPoint(1, 1), text());
        painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
        painter.drawText(baseline, text());
        return;
    }

    // A checked button (the open page's) keeps its pressed look.
    const bool selected = isDown() || isChecked();
    if (selected)
        paintLook(LookAt(kPressed, scale));
    else if (normal_.isNull())
        painter.fillRect(item, face);
    else
        paintLook(LookAt(hover_ && !hoverLook_.isNull() ? kHover : kNormal, scale));
    if (border_ != 0)
        qDrawWinButton(&painter, item, palette(), selected);
    if (ShowsFocusMark() && focusMargin_ == 0)
        DrawFocusMark(painter);

    QRect textClip = item;
    if (hasFocus() && focusMargin_ > 0) {
        textClip = item.adjusted(focusMargin_, focusMargin_, -focusMargin_, -focusMargin_);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = textClip;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    painter.setClipRect(textClip);
    painter.setPen(captionColor_);
    painter.drawText(baseline, text());  // no offset in the pressed look
}

bool CxSkinButton::ShowsFocusMark() const
{
    return hasFocus() && keyboardFocus_;
}

void CxSkinButton::DrawFocusMark(QPainter& painter) const
{
    // The skin's amber, inside the button's own outline.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(skin::style::Color(skin::style::kAccent), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(3, 3, -3, -3), 4, 4);
    painter.restore();
}

void CxSkinButton::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = FocusMarkAfter(event->reason(), true, keyboardFocus_);
    QAbstractButton::focusInEvent(event);
}

void CxSkinButton::keyPressEvent(QKeyEvent* event)
{
    keyboardFocus_ = true;
    // Enter and Return press the button as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
    update();
}

void CxSkinButton::SetHover(bool hover)
{
    if (hover_ == hover)
        return;
    hover_ = hover;
    update();
}

void CxSkinButton::enterEvent(QEnterEvent* event)
{
    if (!pressed_)
        SetHover(true);
    QAbstractButton::enterEvent(event);
}

void CxSkinButton::leaveEvent(QEvent* event)
{
    SetHover(false);
    QAbstractButton::leaveEvent(event);
}

void CxSkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && hitButton(event->position().toPoint())) {
        SetHover(false);
        pressed_ = true;
    }
    QAbstractButton::mousePressEvent(event);
}

void CxSkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
    QAbstractButton::mouseReleaseEvent(event);
}

void CxSkinButton::mouseMoveEvent(QMouseEvent* event)
{
    // While pressed the base class keeps the pushed look in step with
    // hitButton(), i.e. with the pointer being over the button's shape.
    if (!pressed_ && !hover_)
        SetHover(true);
    QAbstractButton::mouseMoveEvent(event);
}

void CxSkinButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is a second press.
    mousePressEvent(event);
}

void CxSkinButton::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = FocusMarkAfter(event->reason(), false, keyboardFocus_);
    if (pressed_) {
        pressed_ = false;
        setDown(false);
    }
    QAbstractButton::focusOutEvent(event);
}

}  // namespace kel
