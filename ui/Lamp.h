#pragma once
#include <QLabel>

namespace kel::ui {

// A status lamp: a picture, lit or dark. A class of its own so that the
// accessibility tree can show it as an indicator (see CKelDlgAccess.cpp).
class Lamp : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
};

}  // namespace kel::ui
