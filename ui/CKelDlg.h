#pragma once
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>

#include "ControlMap.h"
#include "QtPollTimer.h"
#include "WindowScreen.h"
#include "controls/CListBoxDlg.h"
#include "uilogic/KelDlgLogic.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;

namespace kel {
class CxSkinButton;
}

namespace kel::ui {

class Dialogs;

// The main window: a frameless face cut out of the background bitmap, the
// fixed controls, the eight pages and the option pop-up. It only renders and
// forwards: every click and tick goes to the window logic it owns, which
// answers through the Screen port.
class CKelDlg : public QWidget {
    Q_OBJECT
public:
    CKelDlg(SerialDevice& device, PortFinder& finder, Clock& clock, Dialogs& dialogs, QWidget* parent = nullptr);
    ~CKelDlg() override;

    KelDlgLogic& logic() { return *logic_; }
    Screen& screen() { return screen_; }
    const QtPollTimer& pollTimer() const { return pollTimer_; }
    QWidget* Control(int id) const { return controls_.Find(id); }

    // Page-clear routine, then the page of this page button.
    void ShowPage(int pageButton);
    // Option pop-up of a slot under its button; closes an open one instead.
    void ShowOptionPopup(int slot);
    void ClosePopup();
    CListBoxDlg* Popup() const { return popup_; }

    // The menu a right click on the face opens (the About entry).
    QMenu* FaceMenu() const { return faceMenu_; }

signals:
    void firstPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    // Controls, grouped as the window builds them (CKelDlgControls.cpp).
    void CreateFonts();
    void CreateShape();
    // The face at a device pixel ratio, transparent outside the outline.
    static QPixmap FaceAt(qreal scale);
    void CreateFixedControls();
    void CreatePageButtons();
    void CreateOptionButtons();
    void CreateRowLabels();
    void CreateCustomFields();
    void CreateProfileRow();
    void CreateModeSelect();
    void CreateDeviceRadios();
    void CreateFaceMenu();
    // Keyboard and screen readers (CKelDlgAccess.cpp).
    void CreateKeyboard();
    void NameControls();
    bool OpensPopupKey(QObject* watched, QEvent* event);
    void ReturnFocus(int slot);
    CxSkinButton* AddBitmapButton(int id, int upBitmap, int downBitmap, const QRect& where);
    QLabel* AddLabel(int id, const QString& text, const QRect& where);
    QLineEdit* AddEdit(int id, const QRect& where);

    // Page-clear routine (CKelDlgPages.cpp).
    void ClearPage();
    // Paints the face now (or soon, for a part of it); that paint closes an
    // open option pop-up, as one the window system asks for does.
    void RepaintFace();
    void InvalidateFace(const QRect& rect);
    // While the box update lets messages through, nothing may start anew.
    bool ExchangeRunning() const;

    Dialogs& dialogs_;
    ControlMap controls_;
    WindowScreen screen_;
    QtPollTimer pollTimer_;
    std::unique_ptr<KelDlgLogic> logic_;

    QPixmap background_;
    QFont labelFont_;
    QFont versionFont_;
    QMenu* faceMenu_ = nullptr;
    QButtonGroup* pageGroup_ = nullptr;
    QButtonGroup* radioGroup_ = nullptr;
    QPointer<CListBoxDlg> popup_;
    bool painted_ = false;
    // The next paint is one of the face itself, not Qt redrawing under a
    // child control or after a change of the active window.
    bool faceInvalidated_ = false;
    bool watchingExposure_ = false;
    // Moving the window by hand where the platform cannot move it for us.
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint windowStart_;
};

}  // namespace kel::ui
