#include "CKelDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include "Dialogs.h"
#include "SystemMenu.h"
#include "controls/CListBoxDlg.h"
#include "controls/SkinDrawing.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel::ui {

CKelDlg::CKelDlg(SerialDevice& device, PortFinder& finder, Clock& clock, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , dialogs_(dialogs)
    , screen_(*this, [this] { RepaintFace(); }, controls_, dialogs)
    , pollTimer_([this] { logic_->OnTimer(); })
    , logic_(std::make_unique<KelDlgLogic>(device, finder, clock, screen_, pollTimer_))
{
    setObjectName(QStringLiteral("102"));
    setWindowTitle(QStringLiteral("Kel"));
    OnInitDialog();
}

CKelDlg::~CKelDlg()
{
    ClosePopup();
    pollTimer_.Stop();
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
    move(0, 0);
    setFixedSize(kSize);
    setWindowIcon(skin::AppIcon());
    CreateFonts();
    CreateShape();

    ShowPage(id::kPageHome);  // runs the page-clear routine first

    // Lamps, version text, profile name, custom fields, then the poll timer.
    logic_->OnInitDialog();
}

void CKelDlg::CreateShape()
{
    background_ = skin::Bitmap(id::bmp::kBackground);
    // Only the part of the bitmap inside the client area counts.
    const QImage face = background_.toImage().copy(QRect(QPoint(0, 0), kSize)
                                                       .intersected(background_.rect()));
    setMask(BuildMaskRegion(face, skin::kKeyColour));
}

bool CKelDlg::ExchangeRunning() const
{
    return logic_->link().exchangeRunning;
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
    }
    QWidget::showEvent(event);
}

bool CKelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose)
        faceInvalidated_ = true;
    return QWidget::eventFilter(watched, event);
}

void CKelDlg::paintEvent(QPaintEvent*)
{
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
    if (!kDragExempt.contains(at)) {
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

void CKelDlg::CreateFaceMenu()
{
    faceMenu_ = new QMenu(this);
    faceMenu_->setObjectName(QStringLiteral("faceMenu"));
    QAction* about = faceMenu_->addAction(QStringLiteral("关于 Kel(&A)..."));
    about->setObjectName(QStringLiteral("about"));
    connect(about, &QAction::triggered, this, [this] { dialogs_.About(this); });
    AddToSystemMenu(*this, *about);
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

} // namespace kel::ui
