#include "controls/CListBoxDlg.h"

#include <QKeyEvent>

#include "controls/CMyListBox.h"
#include "controls/WindowPlacement.h"
#include "resources/ResourceIds.h"
#include "resources/SkinLayout.h"

namespace kel {
namespace {

QStringList ToQt(const std::vector<std::string>& entries)
{
    QStringList list;
    list.reserve(qsizetype(entries.size()));
    for (const std::string& entry : entries)
        list.append(QString::fromStdString(entry));
    return list;
}

// A tool window at its place on the screen, which leaves every other click
// on the main window to the main window; where the window system will not
// place it (Wayland), a child widget of the main window at the same place.
Qt::WindowFlags PopupFlags(QWidget* owner)
{
    if (owner && !PlacesTopLevelWindows())
        return Qt::Widget;
    return Qt::Tool | Qt::FramelessWindowHint;
}

}  // namespace

CListBoxDlg::CListBoxDlg(int slotId, const QStringList& entries, const QString& caption, QWidget* owner)
    : QWidget(owner, PopupFlags(owner))
    , slotId_(slotId)
    , list_(new CMyListBox(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(layout::kPopupSize);
    list_->setObjectName(QString::number(id::kPopupList));
    list_->setGeometry(QRect(QPoint(0, 0), layout::kPopupSize));
    list_->addItems(entries);  // in the given order, never sorted

    int preselect = -1;
    if (caption.isEmpty()) {
        preselect = entries.isEmpty() ? -1 : 0;
    } else {
        for (qsizetype i = 0; i < entries.size() && preselect < 0; ++i)
            if (entries[i].compare(caption, Qt::CaseInsensitive) == 0)
                preselect = int(i);
    }
    if (preselect >= 0) {
        list_->setCurrentRow(preselect);
        list_->scrollToItem(list_->item(preselect), QAbstractItemView::PositionAtCenter);
    } else {
        // Mark the current index as set, so taking the focus selects nothing.
        list_->setCurrentIndex(QModelIndex());
    }
    list_->hide();

    // Connected after the preselection, so only the user's choice commits:
    // a change of the selection, by a click or by the arrow keys.
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (!selected.isEmpty())
            Commit(list_->row(selected.first()));
    });
}

void CListBoxDlg::keyPressEvent(QKeyEvent* event)
{
    // The list passes on the keys it has no use for.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!committed_) {
            committed_ = true;
            emit Dismissed(slotId_);
            close();
        }
        event->accept();
        return;
    default: QWidget::keyPressEvent(event);
    }
}

CListBoxDlg::CListBoxDlg(int slotId, const std::vector<std::string>& entries, const std::string& caption,
                         QWidget* owner)
    : CListBoxDlg(slotId, ToQt(entries), QString::fromStdString(caption), owner)
{}

CListBoxDlg::~CListBoxDlg() = default;

QRect CListBoxDlg::Placement(const QRect& windowGeometry, int verticalOffset)
{
    return {QPoint(windowGeometry.left() + layout::kPopupLeft, windowGeometry.top() + verticalOffset),
            layout::kPopupSize};
}

CListBoxDlg* CListBoxDlg::Open(QWidget* window, int slotId, const QStringList& entries, const QString& caption,
                               int verticalOffset)
{
    auto* popup = new CListBoxDlg(slotId, entries, caption, window);
    // The main window is frameless, so its frame corner is its client origin.
    const QRect frame = window ? OwnerRect(*window, !popup->isWindow()) : QRect();
    popup->setGeometry(Placement(frame, verticalOffset));
    popup->raise();
    popup->show();
    // The list takes the keyboard at once: the pop-up becomes the active window.
    popup->activateWindow();
    popup->ShowList();
    return popup;
}

void CListBoxDlg::ShowList()
{
    list_->show();
    list_->setFocus(Qt::OtherFocusReason);
}

void CListBoxDlg::Commit(int row)
{
    if (committed_ || row < 0 || row >= list_->count())
        return;
    committed_ = true;
    const QString text = list_->item(row)->text();
    emit Chosen(slotId_, row, text);
    close();
}

}  // namespace kel
