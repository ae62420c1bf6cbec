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

} // namespace

CprogessDlg::CprogessDlg(QWidget* owner)
    : QWidget(owner, owner && !PlacesTopLevelWindows() ? Qt::Widget : Qt::Tool | Qt::FramelessWindowHint)
    , m_bar(new CXProgressCtrl(this))
    , m_detail(new QLabel(this))
    , m_title(new QLabel(this))
    , m_background(skin::Bitmap(id::bmp::kProgressDlgBackground, qApp->devicePixelRatio()))
{
    resize(kWidth, kHeight);
    // Only the background picture is seen; the rest of the 500 x 300 window
    // has no picture: it is left out of the window's shape, and painted
    // transparent where a mask cannot shape a window (Wayland).
    setAttribute(Qt::WA_TranslucentBackground);
    setMask(QRegion(QRect(QPoint(0, 0), m_background.deviceIndependentSize().toSize())));

    m_bar->setObjectName(QString::number(id::kProgressDlgBar));
    m_bar->setGeometry(FromDialogUnits(4, 36, 182, 15));
    m_bar->captionColor = QColor(255, 255, 0);
    m_bar->ShowText(QStringLiteral("Setting..."));
    m_bar->showPercentage = 0;
    m_bar->barColor = QColor(255, 0, 0);
    m_bar->fieldColor = QColor(20, 20, 20);

    m_detail->setObjectName(QString::number(id::kProgressDlgDetail));
    m_detail->setGeometry(FromDialogUnits(7, 57, 120, 8));
    m_detail->setFont(fonts::Arial(8));
    m_detail->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_title->setObjectName(QString::number(id::kProgressDlgTitle));
    m_title->setGeometry(FromDialogUnits(64, 22, 64, 12));
    m_title->setFont(fonts::Arial(12));
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
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
    m_bar->setValue(position);
}

void CprogessDlg::SetDetail(const QString& text)
{
    m_detail->setText(text);
}

void CprogessDlg::SetTitle(const QString& title, bool success)
{
    m_titleColour = success ? kSuccessColour : kFailureColour;
    QPalette colours = m_title->palette();
    colours.setColor(QPalette::WindowText, m_titleColour);
    m_title->setPalette(colours);
    m_title->setText(title);
}

void CprogessDlg::paintEvent(QPaintEvent*)
{
    // The bitmap at its own size from the top-left corner; no stretching.
    QPainter(this).drawPixmap(0, 0, m_background);
}

} // namespace kel
