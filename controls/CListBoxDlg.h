#pragma once
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

namespace kel {

class CMyListBox;

// The option pop-up: a frameless 190 x 160 window holding list 1401 (object
// name "1401") with the option list of one slot, the current caption
// preselected. Choosing an entry (a click, or moving the selection with the
// keys) emits Chosen() and closes the pop-up, which then deletes itself.
//
// It knows nothing of the main window or the settings: the opener passes the
// slot, the entries and the caption, and acts on Chosen() (caption, custom
// fields). The opener also closes it on its own occasions with close().
class CListBoxDlg : public QWidget {
    Q_OBJECT
public:
    // Fills the list in order and preselects `caption`: entry 0 for an empty
    // caption, else the entry equal to it ignoring letter case, else nothing.
    // The list starts hidden; Open() (or ShowList()) shows it.
    CListBoxDlg(int slotId, const QStringList& entries, const QString& caption, QWidget* owner = nullptr);
    CListBoxDlg(int slotId, const std::vector<std::string>& entries, const std::string& caption,
                QWidget* owner = nullptr);
    ~CListBoxDlg() override;

    // Creates the pop-up for `window`, places it at (window left + layout::kPopupLeft, window
    // top + verticalOffset), layout::kPopupSize, shows it and gives the list the focus.
    static CListBoxDlg* Open(QWidget* window, int slotId, const QStringList& entries, const QString& caption,
                             int verticalOffset);
    static QRect Placement(const QRect& windowGeometry, int verticalOffset);

    void ShowList();
    int SlotId() const { return slotId_; }
    CMyListBox* List() const { return list_; }

signals:
    // The user chose entry `index` with text `text` for option slot `slotId`.
    void Chosen(int slotId, int index, const QString& text);
    // The user closed the pop-up from the keyboard without a change (Escape,
    // or Enter on the entry already chosen).
    void Dismissed(int slotId);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Commit(int row);

    int slotId_;
    CMyListBox* list_;
    bool committed_ = false;
};

}  // namespace kel
