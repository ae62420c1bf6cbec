// The pages of the main window and the option pop-up.
#include <QAbstractButton>

#include "CKelDlg.h"
#include "uilogic/PageTable.h"
#include "controls/CListBoxDlg.h"
#include "resources/ResourceIds.h"
#include "resources/SkinLayout.h"

namespace kel::ui {

void CKelDlg::ClearPage()
{
    for (int control : PageClearHidden()) {
        if (QWidget* widget = controls_.Find(control))
            widget->hide();
    }
    for (int label = id::kFirstRowLabel; label < id::kFirstRowLabel + id::kRowCount; ++label) {
        screen_.SetText(label, " ");
        controls_.Find(label)->show();
    }
    InvalidateFace(layout::kPageArea);
}

void CKelDlg::ShowPage(int pageButton)
{
    ClearPage();
    if (auto* button = controls_.As<QAbstractButton>(pageButton))
        button->setChecked(true);
    const PageContent page = PageFor(pageButton, logic_->EscVariant());
    for (std::size_t row = 0; row < page.labels.size(); ++row)
        screen_.SetText(id::kFirstRowLabel + int(row), page.labels[row]);
    for (int label : page.hiddenLabels) {
        if (QWidget* widget = controls_.Find(label))
            widget->hide();
    }
    for (int control : page.optionButtons)
        controls_.Find(control)->show();
    for (int control : page.otherControls) {
        if (QWidget* widget = controls_.Find(control))
            widget->show();
    }
    if (pageButton == id::kPageModeSelect)
        logic_->OnModeSelectShown();
}

void CKelDlg::ShowOptionPopup(int slot)
{
    // A click on an option button while a pop-up is open only closes it.
    if (popup_) {
        ClosePopup();
        return;
    }
    const std::vector<std::string> options = logic_->OptionList(slot);
    QStringList entries;
    for (const std::string& option : options)
        entries << QString::fromStdString(option);
    popup_ = CListBoxDlg::Open(this, slot, entries, QString::fromStdString(logic_->Caption(slot)),
                               layout::PopupTop(slot, RowOfOptionButton(slot)));
    connect(popup_, &CListBoxDlg::Chosen, this, [this](int chosenSlot, int index, const QString&) {
        popup_ = nullptr;  // it closes and deletes itself
        logic_->OnOptionChosen(chosenSlot, index);
        ReturnFocus(chosenSlot);
    });
    connect(popup_, &CListBoxDlg::Dismissed, this, [this](int dismissedSlot) {
        popup_ = nullptr;
        ReturnFocus(dismissedSlot);
    });
}

void CKelDlg::ClosePopup()
{
    if (CListBoxDlg* popup = popup_) {
        popup_ = nullptr;
        popup->close();  // deletes itself on close
    }
}

}  // namespace kel::ui
