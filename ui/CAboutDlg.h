#pragma once
#include <QDialog>

namespace kel::ui {

// The About box: the program icon, "Kel 1.0 版" and an OK button "确定".
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace kel::ui
