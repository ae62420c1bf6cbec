#include "controls/CprogessDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

#include "controls/CXProgressCtrl.h"
#include "controls/WindowPlacement.h"
#include "resources/Fonts.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel {
namespace {

// Dialog units of the layout (200 x 72) in pixels: 2 per horizontal unit and
// 136/72 per vertical unit, so the layout fills the 388 x 136 background.
QRect FromDialogUnits(int x, int y, int width, int height)
{
    auto vertical = [](int units) { return (units * 136 + 36) / 72; };
    return {x * 2, vertical(y), width * 2, vertical(height)};
}

}  // namespace

CprogessDlg::CprogessDlg(QWidget* owner)
    : QWidget(owner, owner && !PlacesTopLevelWindows() ? Qt::Widget : Qt::Tool | Qt::FramelessWindowHint)
    , bar_(new CXProgressCtrl(this))
    , detail_(new QLabel(this))
    , title_(new QLabel(this))
    , background_(skin::Bitmap(id::bmp::kProgressDlgBackground, qApp->devicePixelRatio()))
{
    resize(kWidth, kHeight);
    // Only the background picture is seen; the rest of the 500 x 300 window
    // has no picture: it is left out of the window's shape, and painted
    // transparent where a mask cannot shape a window (Wayland).
    setAttribute(Qt::WA_TranslucentBackground);
    setMask(QRegion(QRect(QPoint(0, 0), background_.deviceIndependentSize().toSize())));

    bar_->setObjectName(QString::number(id::kProgressDlgBar));
    bar_->setGeometry(FromDialogUnits(4, 36, 182, 15));
    bar_->captionColor = QColor(255, 255, 0);
    bar_->ShowText(QStringLiteral("Setting..."));
    bar_->showPercentage = 0;
    bar_->barColor = QColor(255, 0, 0);
    bar_->fieldColor = QColor(20, 20, 20);

    detail_->setObjectName(QString::number(id::kProgressDlgDetail));
    detail_->setGeometry(FromDialogUnits(7, 57, 120, 8));
    detail_->setFont(fonts::Arial(8));
    detail_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    title_->setObjectName(QString::number(id::kProgressDlgTitle));
    title_->setGeometry(FromDialogUnits(64, 22, 64, 12));
    title_->setFont(fonts::Arial(12));
    title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

CprogessDlg::~CprogessDlg() = default;

QRect CprogessDlg::Placement(const QRect& r)
{
    const int right = r.x() + r.width();
    const int bottom = r.y() + r.height();
    return {(r.x() + right) / 2 - 180, (r.y() + bottom) / 2 - 40, kWidth, kHeight};
}

CprogessDlg* CprogessDlg::Open(QWidget* owner)
{
    auto* dialog = new CprogessDlg(owner);
    if (owner)
        dialog->setGeometry(Placement(OwnerRect(*owner, !dialog->isWindow())));
    dialog->raise();
    dialog->show();
    dialog->repaint();
    return dialog;
}

void CprogessDlg::SetPos(int position)
{
    bar_->setValue(position);
}

void CprogessDlg::SetDetail(const QString& text)
{
    detail_->setText(text);
}

void CprogessDlg::SetTitle(const QString& title, bool success)
{
    titleColor_ = success ? kSuccessColor : kFailureColor;
    QPalette colors = title_->palette();
    colors.setColor(QPalette::WindowText, titleColor_);
    title_->setPalette(colors);
    title_->setText(title);
}

void CprogessDlg::paintEvent(QPaintEvent*)
{
    // The bitmap at its own size from the top-left corner; no stretching.
    QPainter(this).drawPixmap(0, 0, background_);
}

}  // namespace kel
