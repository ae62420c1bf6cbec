// Building and placing the main window's controls.
#include <algorithm>

#include <QLabel>
#include <QLineEdit>

#include "ArrowSpin.h"
#include "CKelDlg.h"
#include "Lamp.h"
#include "uilogic/PageTable.h"
#include "SkinRadio.h"
#include "controls/CXProgressCtrl.h"
#include "controls/CxSkinButton.h"
#include "resources/Fonts.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"
#include "resources/SkinStyle.h"

namespace kel::ui {

namespace {
constexpr QRgb kOptionCaption = qRgb(255, 0, 0);
constexpr QRgb kProfileCaption = qRgb(255, 255, 255);
constexpr QRgb kVersionText = qRgb(255, 255, 0);

struct PageButton {
    int id;
    int up;
    int down;
    QRect where;
};

const PageButton kPageButtons[] = {
    {id::kPageHome, id::bmp::kPageHomeUp, id::bmp::kPageHomeDown, layout::kPageHome},
    {id::kPageThrottle, id::bmp::kPageThrottleUp, id::bmp::kPageThrottleDown, layout::kPageThrottle},
    {id::kPageBooster, id::bmp::kPageBoosterUp, id::bmp::kPageBoosterDown, layout::kPageBooster},
    {id::kPageTurbo, id::bmp::kPageTurboUp, id::bmp::kPageTurboDown, layout::kPageTurbo},
    {id::kPageBrake, id::bmp::kPageBrakeUp, id::bmp::kPageBrakeDown, layout::kPageBrake},
    {id::kPageGeneral, id::bmp::kPageGeneralUp, id::bmp::kPageGeneralDown, layout::kPageGeneral},
    {id::kPageProfile, id::bmp::kPageProfileUp, id::bmp::kPageProfileDown, layout::kPageProfile},
    {id::kPageModeSelect, id::bmp::kPageModeUp, id::bmp::kPageModeDown, layout::kPageModeSelect},
};

struct CustomField {
    int edit;
    QRect editAt;
    int spin;
    QRect spinAt;
};

const CustomField kCustomFields[] = {
    {id::kInitialBrakeEdit, layout::kInitialBrakeEdit, id::kInitialBrakeSpin, layout::kInitialBrakeSpin},
    {id::kDragBrakeEdit, layout::kDragBrakeEdit, id::kDragBrakeSpin, layout::kDragBrakeSpin},
    {id::kLowVoltEdit, layout::kLowVoltEdit, id::kLowVoltSpin, layout::kLowVoltSpin},
};

std::string ToStd(const QString& text)
{
    return text.toStdString();
}
}  // namespace

CxSkinButton* CKelDlg::AddBitmapButton(int id, int upBitmap, int downBitmap, const QRect& where)
{
    auto* button = controls_.Add(id, new CxSkinButton(this));
    button->ApplySkin(unsigned(upBitmap), unsigned(downBitmap), 0, 0, 0, 0, 0, 0);
    button->setGeometry(where);
    button->SetGeneratedDisabledLook(true);
    // Reached with Tab; a click does not take the focus from a field.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLabel* CKelDlg::AddLabel(int id, const QString& text, const QRect& where)
{
    auto* label = controls_.Add(id, new QLabel(text, this));
    label->setGeometry(where);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    // Straight onto the face: no background of its own. A label takes no
    // click, so a press on it reaches the face (dragging, closing the pop-up),
    // while a lamp still shows its tool tip.
    return label;
}

QLineEdit* CKelDlg::AddEdit(int id, const QRect& where)
{
    auto* edit = controls_.Add(id, new QLineEdit(this));
    edit->setGeometry(where);
    return edit;
}

void CKelDlg::CreateFixedControls()
{
    // The Home picture lies under the Home page's other controls.
    auto* picture = AddLabel(id::kHomePicture, QString(), layout::kHomePicture);
    picture->setPixmap(skin::Bitmap(id::bmp::kHomePicture, devicePixelRatioF()));

    auto* close = AddBitmapButton(id::kClose, id::bmp::kCloseUp, id::bmp::kCloseDown, layout::kClose);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);
    auto* minimise = AddBitmapButton(id::kMinimise, id::bmp::kMinimiseUp, id::bmp::kMinimiseDown, layout::kMinimise);
    connect(minimise, &QAbstractButton::clicked, this, &QWidget::showMinimized);

    auto* apply = AddBitmapButton(id::kApply, id::bmp::kApplyUp, id::bmp::kApplyDown, layout::kApply);
    connect(apply, &QAbstractButton::clicked, this, [this] { logic_->OnApply(); });
    auto* defaults = AddBitmapButton(id::kDefaults, id::bmp::kDefaultsUp, id::bmp::kDefaultsDown, layout::kDefaults);
    connect(defaults, &QAbstractButton::clicked, this, [this] { logic_->OnDefaults(); });

    for (const auto& [lamp, where] :
         {std::pair{id::kLampBox, layout::kLampBox}, std::pair{id::kLampEsc, layout::kLampEsc},
          std::pair{id::kLampUsb, layout::kLampUsb}}) {
        auto* shown = controls_.Add(lamp, new Lamp(this));
        shown->setGeometry(where);
        screen_.SetBitmap(lamp, id::bmp::kLampOff);
    }

    auto* version = AddEdit(id::kVersionField, layout::kVersionField);
    version->setReadOnly(true);
    version->setEnabled(false);
    // Yellow even while disabled; on the skin's dark well rather than the
    // light field of an edit, where yellow could not be read.
    QPalette palette = version->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, QColor(kVersionText));
        palette.setColor(group, QPalette::Base, QColor(skin::style::kWell));
    }
    version->setPalette(palette);

    auto* update = AddBitmapButton(id::kUpdateButton, id::bmp::kUpdateUp, id::bmp::kUpdateDown, layout::kUpdate);
    connect(update, &QAbstractButton::clicked, this, [this] { logic_->OnUpdate(); });

    auto* bar = controls_.Add(id::kProgressBar, new CXProgressCtrl(this));
    bar->setGeometry(layout::kProgressBar);
    bar->setRange(1, 99);
    bar->setValue(0);
}

void CKelDlg::CreatePageButtons()
{
    for (const PageButton& page : kPageButtons) {
        auto* button = AddBitmapButton(page.id, page.up, page.down, page.where);
        connect(button, &QAbstractButton::clicked, this, [this, id = page.id] { ShowPage(id); });
    }
}

void CKelDlg::CreateRowLabels()
{
    for (int row = 0; row < id::kRowCount; ++row) {
        AddLabel(id::kFirstRowLabel + row, QStringLiteral(" "), layout::RowLabelAt(row));
    }
}

void CKelDlg::CreateOptionButtons()
{
    for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot) {
        auto* button = controls_.Add(slot, new CxSkinButton(this));
        button->ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0, id::bmp::kOptionButtonMask, 0, 0,
                          0);
        button->setText(QString());
        button->SetCaptionColor(QColor(kOptionCaption));
        button->setGeometry(layout::OptionButtonAt(std::max(RowOfOptionButton(slot), 0)));
        button->SetGeneratedDisabledLook(true);
        button->setFocusPolicy(Qt::TabFocus);
        button->hide();
        connect(button, &QAbstractButton::clicked, this, [this, slot] { ShowOptionPopup(slot); });
    }
}

void CKelDlg::CreateCustomFields()
{
    for (const CustomField& field : kCustomFields) {
        auto* edit = AddEdit(field.edit, field.editAt);
        edit->setEnabled(false);
        // Only the user's typing is reported; the engine's own texts are not.
        // A text on its way to a valid value is judged when the entry ends.
        connect(edit, &QLineEdit::textEdited, this, [this, edit, id = field.edit](const QString& text) {
            logic_->OnCustomTyped(id, ToStd(text));
            // After a refusal the next keystroke replaces the refusal text.
            const QString now = edit->text();
            if (now != text && edit->hasFocus() && (now == QLatin1String("NONE") || now == QLatin1String("0%")))
                edit->selectAll();
        });
        connect(edit, &QLineEdit::editingFinished, this,
                [this, id = field.edit] { logic_->OnCustomEntryFinished(id); });

        auto* spin = controls_.Add(field.spin, new ArrowSpin(this));
        spin->setGeometry(field.spinAt);
        spin->setEnabled(false);
        connect(spin, &ArrowSpin::stepRequested, this,
                [this, id = field.spin](int delta) { logic_->OnSpinDelta(id, delta); });
    }
}

void CKelDlg::CreateProfileRow()
{
    auto* name = AddEdit(id::kProfileName, layout::kProfileName);
    name->setEnabled(false);
    auto* version = AddEdit(id::kProfileVersion, layout::kProfileVersion);
    version->setReadOnly(true);

    for (const auto& [button, caption, at] : {std::tuple{id::kProfileSave, "Save", layout::kProfileSave},
                                              std::tuple{id::kProfileLoad, "Load", layout::kProfileLoad}}) {
        auto* skinned = controls_.Add(button, new CxSkinButton(this));
        skinned->ApplySkin(id::bmp::kProfileButton, id::bmp::kProfileButtonDown, 0, 0, id::bmp::kProfileButtonMask, 0,
                           0, 0);
        skinned->SetCaptionColor(QColor(kProfileCaption));
        skinned->setText(QLatin1String(caption));
        skinned->move(at);
        skinned->SetGeneratedDisabledLook(true);
        skinned->setFocusPolicy(Qt::TabFocus);
    }
    connect(controls_.As<CxSkinButton>(id::kProfileSave), &QAbstractButton::clicked, this,
            [this] { logic_->OnSave(); });
    connect(controls_.As<CxSkinButton>(id::kProfileLoad), &QAbstractButton::clicked, this,
            [this] { logic_->OnLoad(); });
}

void CKelDlg::CreateModeSelect()
{
    AddLabel(id::kStockText, QStringLiteral("stock"), layout::kStockText);
    AddLabel(id::kModText, QStringLiteral("MOD"), layout::kModText);
    auto* modeSwitch = AddBitmapButton(id::kModeSwitch, id::bmp::kModeMod, id::bmp::kModeMod, layout::kModeSwitch);
    screen_.SetBitmap(id::kModeSwitch, id::bmp::kModeMod);
    connect(modeSwitch, &QAbstractButton::clicked, this, [this] { logic_->OnModeSwitch(); });
}

void CKelDlg::CreateDeviceRadios()
{
    for (const auto& [radio, at] :
         {std::pair{id::kRadioEsc, layout::kRadioEsc}, std::pair{id::kRadioBox, layout::kRadioBox},
          std::pair{id::kRadioFix, layout::kRadioFix}}) {
        auto* button = controls_.Add(radio, new SkinRadio(this));
        button->setGeometry(QRect(at, QSize(layout::kRadioSize, layout::kRadioSize)));
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QAbstractButton::clicked, this, [this, id = radio] { logic_->OnDeviceRadio(id); });
    }
}

void CKelDlg::CreateFonts()
{
    // Page labels are 10 point on a 96 dpi screen and 8 point on any other.
    labelFont_ = fonts::Verdana(logicalDpiY() == 96 ? 10 : 8);
    versionFont_ = fonts::Verdana(9);

    QPalette black;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        black.setColor(group, QPalette::WindowText, Qt::black);
    for (int label = id::kFirstRowLabel; label < id::kFirstRowLabel + id::kRowCount; ++label) {
        controls_.Find(label)->setFont(labelFont_);
        controls_.Find(label)->setPalette(black);
    }
    for (int label : {id::kStockText, id::kModText}) {
        controls_.Find(label)->setFont(labelFont_);
        controls_.Find(label)->setPalette(black);
    }
    controls_.Find(id::kVersionField)->setFont(versionFont_);
}

}  // namespace kel::ui
