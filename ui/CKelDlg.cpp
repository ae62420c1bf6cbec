#include "CKelDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSettings>
#include <QShortcut>
#include <QWindow>

#include "Dialogs.h"
#include "SystemMenu.h"
#include "controls/CListBoxDlg.h"
#include "controls/SkinDrawing.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"

namespace kel::ui {

CKelDlg::CKelDlg(SerialDevice& device, PortFinder& finder, Clock& clock, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , dialogs_(dialogs)
    , screen_(
          *this, [this] { RepaintFace(); }, controls_, dialogs)
    , pollTimer_([this] { logic_->OnTimer(); })
    , logic_(std::make_unique<KelDlgLogic>(device, finder, clock, screen_, pollTimer_))
{
    setObjectName(QStringLiteral("102"));
    // Only the skin is painted: outside its outline the window is see-through.
    // Window systems that cannot shape a top-level window with a mask
    // (Wayland) show the outline this way.
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(ToQString(text::kAppName));
    OnInitDialog();
}

CKelDlg::~CKelDlg()
{
    ClosePopup();
    pollTimer_.Stop();
    // Hiding the window below takes the focus from a field, which would end
    // its entry; the logic that judges it is gone by then.
    for (const auto& [id, control] : controls_.All())
        control->disconnect(this);
}

void CKelDlg::OnInitDialog()
{
    // The controls first, in the order the face stacks them.
    CreateFixedControls();
    CreatePageButtons();
    CreateRowLabels();
    CreateOptionButtons();
    CreateCustomFields();
    CreateProfileRow();
    CreateModeSelect();
    CreateDeviceRadios();

    CreateFaceMenu();
    CreateKeyboard();
    NameControls();
    move(0, 0);
    setFixedSize(layout::kWindowSize);
    setWindowIcon(skin::AppIcon());
    CreateFonts();
    CreateShape();

    ShowPage(id::kPageHome);  // runs the page-clear routine first

    // Lamps, version text, profile name, custom fields, then the poll timer.
    logic_->OnInitDialog();
}

void CKelDlg::CreateShape()
{
    const QImage bitmap = skin::Image(id::bmp::kBackground);
    // Only the part of the bitmap inside the client area counts.
    const QImage face = bitmap.copy(QRect(QPoint(0, 0), layout::kWindowSize).intersected(bitmap.rect()));
    setMask(BuildMaskRegion(face, skin::kKeyColor));
    background_ = FaceAt(devicePixelRatioF());
}

bool CKelDlg::ExchangeRunning() const
{
    return logic_->UpdateRunning();
}

void CKelDlg::RepaintFace()
{
    faceInvalidated_ = true;
    repaint();
}

void CKelDlg::InvalidateFace(const QRect& rect)
{
    faceInvalidated_ = true;
    update(rect);
}

void CKelDlg::showEvent(QShowEvent* event)
{
    // The window system's requests to redraw the face arrive at the window.
    if (!watchingExposure_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
        watchingExposure_ = true;
        // Take the keyboard when shown: without a window manager nobody
        // else makes the window active, and keys would go nowhere.
        activateWindow();
    }
    QWidget::showEvent(event);
}

bool CKelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != windowHandle() && OpensPopupKey(watched, event))
        return true;
    if (watched == windowHandle() && event->type() == QEvent::Expose)
        faceInvalidated_ = true;
    return QWidget::eventFilter(watched, event);
}

QPixmap CKelDlg::FaceAt(qreal scale)
{
    // The key color is not window: transparent.
    QImage face = skin::Image(id::bmp::kBackground, scale).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < face.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(face.scanLine(y));
        for (int x = 0; x < face.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (skin::kKeyColor & 0xFFFFFF))
                line[x] = 0;
    }
    return QPixmap::fromImage(face);
}

void CKelDlg::paintEvent(QPaintEvent*)
{
    if (!qFuzzyCompare(background_.devicePixelRatio(), devicePixelRatioF()))
        background_ = FaceAt(devicePixelRatioF());  // moved to a screen of another scale
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
    // Qt also paints the face under a child control that redraws, and after a
    // change of the active window (opening the pop-up is one); only a paint
    // of the face itself closes the option pop-up.
    if (faceInvalidated_) {
        faceInvalidated_ = false;
        ClosePopup();
    }
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}

void CKelDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (!layout::kDragExempt.contains(at)) {
        // The window system moves the window while the button is held; where
        // it cannot, follow the pointer here.
        const bool systemMove = windowHandle() && windowHandle()->startSystemMove();
        if (!systemMove) {
            dragging_ = true;
            dragStart_ = event->globalPosition().toPoint();
            windowStart_ = pos();
        }
    }
    ClosePopup();
    event->accept();
}

void CKelDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(windowStart_ + event->globalPosition().toPoint() - dragStart_);
    QWidget::mouseMoveEvent(event);
}

void CKelDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

namespace {
// The user's choices that outlive a run (~/.config/kel/kel.conf).
QSettings Preferences()
{
    return QSettings(QStringLiteral("kel"), QStringLiteral("kel"));
}
}  // namespace

void CKelDlg::CreateFaceMenu()
{
    faceMenu_ = new QMenu(this);
    faceMenu_->setObjectName(QStringLiteral("faceMenu"));
    QAction* about = faceMenu_->addAction(QStringLiteral("关于 Kel(&A)..."));
    about->setObjectName(QStringLiteral("about"));
    connect(about, &QAction::triggered, this, [this] { dialogs_.About(this); });
    AddToSystemMenu(*this, *about);

    // Off unless the user turned it on: the exchange then stays as it always was.
    QAction* verify = faceMenu_->addAction(QStringLiteral("&Verify after writing"));
    verify->setObjectName(QStringLiteral("verifyAfterWriting"));
    verify->setCheckable(true);
    verify->setStatusTip(QStringLiteral("Read the settings back after Apply Settings and name any that did not take"));
    verify->setChecked(Preferences().value(QStringLiteral("verifyAfterWriting"), false).toBool());
    logic_->SetVerifyAfterWriting(verify->isChecked());
    connect(verify, &QAction::toggled, this, [this](bool on) {
        logic_->SetVerifyAfterWriting(on);
        Preferences().setValue(QStringLiteral("verifyAfterWriting"), on);
    });
    faceMenu_->setAccessibleName(QStringLiteral("Window menu"));

    // The Menu key opens it through contextMenuEvent; Shift+F10 does the same.
    auto* shortcut = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { faceMenu_->popup(mapToGlobal(QPoint(width() / 2, height() / 2))); });
}

void CKelDlg::contextMenuEvent(QContextMenuEvent* event)
{
    faceMenu_->popup(event->globalPos());
    event->accept();
}

void CKelDlg::closeEvent(QCloseEvent* event)
{
    // The box update is still on the stack below a message pump: the window
    // must outlive it.
    if (ExchangeRunning()) {
        event->ignore();
        return;
    }
    ClosePopup();
    pollTimer_.Stop();
    event->accept();
}

}  // namespace kel::ui
