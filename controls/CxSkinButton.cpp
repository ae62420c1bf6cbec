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

} // namespace

CxSkinButton::CxSkinButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_captionColour(palette().color(QPalette::ButtonText))
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
    std::copy(std::begin(ids), std::end(ids), m_ids);
}

void CxSkinButton::SetGeneratedDisabledLook(bool on)
{
    m_generatedDisabled = on;
    update();
}

QImage CxSkinButton::LookAt(Look look, qreal scale) const
{
    const bool generated = look == kDisabled && m_generatedDisabled && m_disabledIsCopy;
    const QImage* own[kLookCount] = {&m_normal, &m_pressedLook, &m_hoverLook, &m_disabled, &m_mask};
    QImage image = *own[look];
    if (scale != 1.0 && m_ids[look] != 0)
        image = skin::Image(int(m_ids[look]), scale);
    if (generated)
        return skin::DisabledLook(image);
    return image;
}

void CxSkinButton::ApplySkin(const Looks& looks, short drawMode, short border, short focusMargin)
{
    m_normal = looks.normal;
    m_pressedLook = looks.pressed;
    m_hoverLook = looks.hover;
    m_disabled = looks.disabled.isNull() ? looks.normal : looks.disabled;
    m_disabledIsCopy = looks.disabled.isNull();
    std::fill(std::begin(m_ids), std::end(m_ids), 0u);
    m_mask = looks.mask;

    m_drawMode = std::clamp<int>(drawMode, kDrawNatural, kDrawTile);
    m_border = border;
    m_focusMargin = std::max<int>(focusMargin, 0);

    if (!m_mask.isNull()) {
        SetShape(BuildMaskRegion(m_mask, kMaskKey), true);
        if (m_drawMode == kDrawNatural)
            resize(m_mask.size());
    }
    update();
}

QColor CxSkinButton::SetCaptionColor(const QColor& colour)
{
    const QColor previous = m_captionColour;
    m_captionColour = colour;
    return previous;
}

void CxSkinButton::SetShape(const QRegion& shape, bool fromMask)
{
    m_shape = shape;
    // An empty QRegion would mean "no mask" to Qt; a mask that is white
    // everywhere instead makes a button that shows nothing and takes no clicks.
    m_emptyShape = fromMask && shape.isEmpty();
    setAttribute(Qt::WA_TransparentForMouseEvents, m_emptyShape);
    if (shape.isEmpty())
        clearMask();
    else
        setMask(shape);
}

QSize CxSkinButton::sizeHint() const
{
    if (!m_mask.isNull())
        return m_mask.size();
    return m_normal.isNull() ? QSize(75, 23) : m_normal.size();
}

bool CxSkinButton::hitButton(const QPoint& pos) const
{
    if (m_emptyShape)
        return false;
    return m_shape.isEmpty() ? rect().contains(pos) : m_shape.contains(pos);
}

void CxSkinButton::paintEvent(QPaintEvent*)
{
    if (m_emptyShape)
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
            PaintBitmap(painter, look, mask, item, m_drawMode);
    };

    if (!isEnabled()) {
        paintLook(LookAt(kDisabled, scale));
        if (m_border != 0)
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
    else if (m_normal.isNull())
        painter.fillRect(item, face);
    else
        paintLook(LookAt(m_hover && !m_hoverLook.isNull() ? kHover : kNormal, scale));
    if (m_border != 0)
        qDrawWinButton(&painter, item, palette(), selected);
    if (ShowsFocusMark() && m_focusMargin == 0)
        DrawFocusMark(painter);

    QRect textClip = item;
    if (hasFocus() && m_focusMargin > 0) {
        textClip = item.adjusted(m_focusMargin, m_focusMargin, -m_focusMargin, -m_focusMargin);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = textClip;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    painter.setClipRect(textClip);
    painter.setPen(m_captionColour);
    painter.drawText(baseline, text());  // no offset in the pressed look
}

bool CxSkinButton::ShowsFocusMark() const
{
    return hasFocus() && m_keyboardFocus;
}

void CxSkinButton::DrawFocusMark(QPainter& painter) const
{
    // The skin's amber, inside the button's own outline.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(skin::style::Colour(skin::style::kAccent), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(3, 3, -3, -3), 4, 4);
    painter.restore();
}

void CxSkinButton::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = FocusMarkAfter(event->reason(), true, m_keyboardFocus);
    QAbstractButton::focusInEvent(event);
}

void CxSkinButton::keyPressEvent(QKeyEvent* event)
{
    m_keyboardFocus = true;
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
    if (m_hover == hover)
        return;
    m_hover = hover;
    update();
}

void CxSkinButton::enterEvent(QEnterEvent* event)
{
    if (!m_pressed)
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
        m_pressed = true;
    }
    QAbstractButton::mousePressEvent(event);
}

void CxSkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    QAbstractButton::mouseReleaseEvent(event);
}

void CxSkinButton::mouseMoveEvent(QMouseEvent* event)
{
    // While pressed the base class keeps the pushed look in step with
    // hitButton(), i.e. with the pointer being over the button's shape.
    if (!m_pressed && !m_hover)
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
    m_keyboardFocus = FocusMarkAfter(event->reason(), false, m_keyboardFocus);
    if (m_pressed) {
        m_pressed = false;
        setDown(false);
    }
    QAbstractButton::focusOutEvent(event);
}

} // namespace kel
