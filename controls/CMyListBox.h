#pragma once
#include <QListWidget>
#include <QPixmap>

namespace kel {

// The list of the option pop-up: entries in 9-point Arial, red RGB(230, 0, 0),
// drawn straight onto the pop-up background bitmap (183). Scrolling and the
// wheel repaint the whole list so the background never moves with the entries.
// It hides itself when it loses the keyboard focus.
class CMyListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr QRgb kEntryColor = qRgb(230, 0, 0);

    explicit CMyListBox(QWidget* parent = nullptr);
    ~CMyListBox() override;

    static QFont EntryFont();

protected:
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPixmap background_;
};

}  // namespace kel
