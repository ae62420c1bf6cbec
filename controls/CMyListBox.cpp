#include "controls/CMyListBox.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "resources/Fonts.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel {

CMyListBox::CMyListBox(QWidget* parent)
    : QListWidget(parent)
    , background_(skin::Bitmap(id::bmp::kPopupBackground, qApp->devicePixelRatio()))
{
    setFont(EntryFont());
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // The entries are drawn onto the bitmap, so the view paints no base color.
    viewport()->setAutoFillBackground(false);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, QColor::fromRgb(kEntryColor));
    // The chosen entry in the skin's accent, whether or not the pop-up is active.
    colors.setColor(QPalette::Highlight, QColor(255, 188, 16));
    colors.setColor(QPalette::HighlightedText, QColor(28, 31, 35));
    colors.setColor(QPalette::Inactive, QPalette::Highlight, QColor(255, 188, 16));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(28, 31, 35));
    setPalette(colors);
}

CMyListBox::~CMyListBox() = default;

QFont CMyListBox::EntryFont()
{
    return fonts::Arial(9);
}

void CMyListBox::paintEvent(QPaintEvent* event)
{
    {
        // The top-left part of the bitmap, as large as the list.
        QPainter painter(viewport());
        const int width = viewport()->width();
        const int height = viewport()->height();
        const qreal scale = background_.devicePixelRatio();  // the source is in its own pixels
        painter.drawPixmap(QRectF(0, 0, width, height), background_, QRectF(0, 0, width * scale, height * scale));
    }
    QListWidget::paintEvent(event);
}

void CMyListBox::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    // The base scrolls pixels, background included; repaint it all instead.
    viewport()->update();
}

void CMyListBox::wheelEvent(QWheelEvent* event)
{
    viewport()->update();
    QListWidget::wheelEvent(event);
}

void CMyListBox::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    hide();
}

}  // namespace kel
