#pragma once
#include <QColor>
#include <QPixmap>
#include <QWidget>

class QLabel;

namespace kel {

class CXProgressCtrl;

// The small borderless pop-up shown while settings are written: bar 1055
// ("Setting..." in yellow on a dark field, red bar), detail line 1056 and
// title line 1057 (empty until SetTitle) over background bitmap 169. Modeless:
// the owner creates it, drives it and closes it; it never closes itself.
// Object names of the children are their control ids ("1055", "1056", "1057").
class CprogessDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 300;
    static inline const QColor kSuccessColor{0, 255, 0};
    static inline const QColor kFailureColor{255, 0, 0};

    explicit CprogessDlg(QWidget* owner = nullptr);
    ~CprogessDlg() override;

    // Creates the pop-up for `owner`, places it over the owner's middle
    // (Placement of its frame rectangle) and shows it at once.
    static CprogessDlg* Open(QWidget* owner);
    // From the owner's screen rectangle R (right and bottom exclusive):
    // left = (R.left + R.right) / 2 - 180, top = (R.top + R.bottom) / 2 - 40,
    // 500 x 300. No clamping to the screen.
    static QRect Placement(const QRect& ownerScreenRect);

    void SetPos(int position);                          // bar position, range 0..100
    void SetDetail(const QString& text);                // detail line
    void SetTitle(const QString& title, bool success);  // green on success, else red

    CXProgressCtrl* Bar() const { return bar_; }
    QLabel* Detail() const { return detail_; }
    QLabel* Title() const { return title_; }
    QColor TitleColor() const { return titleColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor titleColor_{0, 0, 0};
    CXProgressCtrl* bar_;
    QLabel* detail_;
    QLabel* title_;
    QPixmap background_;
};

}  // namespace kel
