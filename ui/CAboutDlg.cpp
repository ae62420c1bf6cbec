#include "CAboutDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "resources/Skin.h"

namespace kel::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("关于 Kel"));
    setWindowIcon(skin::AppIcon());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(skin::AppIcon().pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("Kel 1.0 版"), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("aboutOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(ok, 0, 2);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kel::ui
