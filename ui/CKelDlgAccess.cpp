// The main window for keyboard and screen-reader users: Tab order, groups,
// shortcuts, and the names and roles the accessibility tree shows.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>

#include "CKelDlg.h"
#include "Dialogs.h"
#include "uilogic/PageTable.h"
#include "Lamp.h"
#include "WindowScreen.h"
#include "controls/CxSkinButton.h"
#include "resources/ResourceIds.h"

namespace kel::ui {

namespace {

constexpr char kPageTabProperty[] = "kelPageTab";

// A lamp is a status indicator; its value says whether it is lit.
class LampAccessible : public QAccessibleWidget {
public:
    explicit LampAccessible(QWidget* lamp) : QAccessibleWidget(lamp, QAccessible::Indicator) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return Lit() ? QStringLiteral("on") : QStringLiteral("off");
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Lit();
        return s;
    }

private:
    bool Lit() const { return widget()->property(kBitmapProperty).toInt() == id::bmp::kLampOn; }
};

// A page button is a tab: the open page's is selected.
class PageTabAccessible : public QAccessibleWidget {
public:
    explicit PageTabAccessible(QAbstractButton* button) : QAccessibleWidget(button, QAccessible::PageTab) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = Button()->isChecked();
        s.checkable = true;
        s.checked = Button()->isChecked();
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            Button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* WindowFactory(const QString&, QObject* object)
{
    if (auto* lamp = qobject_cast<Lamp*>(object))
        return new LampAccessible(lamp);
    if (auto* button = qobject_cast<QAbstractButton*>(object); button && button->property(kPageTabProperty).toBool())
        return new PageTabAccessible(button);
    return nullptr;
}

struct Name {
    int id;
    const char* name;
};

const Name kNames[] = {
    {id::kApply, "Apply Settings"},
    {id::kDefaults, "Default Settings"},
    {id::kMinimise, "Minimize"},
    {id::kClose, "Close"},
    {id::kUpdateButton, "Update"},
    {id::kPageHome, "Home"},
    {id::kPageThrottle, "Throttle Settings"},
    {id::kPageBooster, "Booster Settings"},
    {id::kPageTurbo, "Turbo Settings"},
    {id::kPageBrake, "Brake Settings"},
    {id::kPageGeneral, "General Settings"},
    {id::kPageProfile, "Profile Settings"},
    {id::kPageModeSelect, "Mode Select"},
    {id::kModeSwitch, "MODE"},
    {id::kRadioEsc, "ESC"},
    {id::kRadioBox, "ProgramBox"},
    {id::kRadioFix, "FixMode"},
    {id::kLampBox, "ProgramBox Connection"},
    {id::kLampEsc, "ESC Connection"},
    {id::kLampUsb, "USB Connection"},
    {id::kVersionField, "Firmware version"},
    {id::kProgressBar, "Update progress"},
    {id::kInitialBrakeEdit, "Initial Brake custom"},
    {id::kInitialBrakeSpin, "Initial Brake custom step"},
    {id::kDragBrakeEdit, "Drag Brake custom"},
    {id::kDragBrakeSpin, "Drag Brake custom step"},
    {id::kLowVoltEdit, "Low volt cut custom"},
    {id::kLowVoltSpin, "Low volt cut custom step"},
    {id::kProfileName, "Profile name"},
    {id::kProfileVersion, "Profile version"},
};

constexpr int kPageOrder[] = {id::kPageHome,  id::kPageThrottle, id::kPageBooster, id::kPageTurbo,
                              id::kPageBrake, id::kPageGeneral,  id::kPageProfile, id::kPageModeSelect};

}  // namespace

void CKelDlg::NameControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(WindowFactory);
        return true;
    }();
    (void)installed;

    for (int page : kPageOrder)
        controls_.Find(page)->setProperty(kPageTabProperty, true);
    for (const Name& entry : kNames) {
        if (QWidget* control = controls_.Find(entry.id))
            control->setAccessibleName(QString::fromLatin1(entry.name));
    }
    // An option button is named by its row's label; its value is its caption.
    for (int page : kPageOrder) {
        const PageContent content = PageFor(page, 0);
        for (std::size_t row = 0; row < content.optionButtons.size() && row < content.labels.size(); ++row) {
            QWidget* button = controls_.Find(content.optionButtons[row]);
            const QString label = QString::fromStdString(content.labels[row]);
            button->setProperty(kAccessibleLabelProperty, label);
            button->setAccessibleName(label);
        }
    }
}

void CKelDlg::CreateKeyboard()
{
    // The open page's button stays selected; arrows move along the radios.
    pageGroup_ = new QButtonGroup(this);
    for (int page : kPageOrder) {
        auto* button = controls_.As<QAbstractButton>(page);
        button->setCheckable(true);
        pageGroup_->addButton(button, page);
    }
    radioGroup_ = new QButtonGroup(this);
    for (int radio : {id::kRadioEsc, id::kRadioBox, id::kRadioFix})
        radioGroup_->addButton(controls_.As<QAbstractButton>(radio), radio);

    // Tab order: device, pages, the page's controls, then the actions. Hidden
    // and disabled controls are passed over.
    std::vector<int> order = {id::kRadioEsc, id::kRadioBox, id::kRadioFix};
    order.insert(order.end(), std::begin(kPageOrder), std::end(kPageOrder));
    for (int page : kPageOrder) {
        for (int slot : PageFor(page, 0).optionButtons)
            order.push_back(slot);
        if (page == id::kPageBrake)
            order.insert(order.end(),
                         {id::kInitialBrakeEdit, id::kInitialBrakeSpin, id::kDragBrakeEdit, id::kDragBrakeSpin});
        if (page == id::kPageGeneral)
            order.insert(order.end(), {id::kLowVoltEdit, id::kLowVoltSpin});
    }
    order.insert(order.end(), {id::kProfileName, id::kProfileSave, id::kProfileLoad, id::kModeSwitch, id::kUpdateButton,
                               id::kApply, id::kDefaults, id::kMinimise, id::kClose});
    QWidget* previous = nullptr;
    for (int control : order) {
        QWidget* widget = controls_.Find(control);
        if (!widget)
            continue;
        if (widget->focusPolicy() == Qt::NoFocus)
            widget->setFocusPolicy(Qt::TabFocus);
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
    // The keyboard starts at the device choice, never on close.
    controls_.Find(id::kRadioEsc)->setFocus(Qt::ActiveWindowFocusReason);

    // Alt+Down opens an option button's pop-up, as it does a combo box's.
    for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot)
        controls_.Find(slot)->installEventFilter(this);

    // Save and Load where the Profile page shows them; About on F1.
    auto clickIfShown = [this](int id) {
        auto* button = controls_.As<QAbstractButton>(id);
        if (button && button->isVisible() && button->isEnabled())
            button->click();
    };
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, [clickIfShown] { clickIfShown(id::kProfileSave); });
    auto* load = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(load, &QShortcut::activated, this, [clickIfShown] { clickIfShown(id::kProfileLoad); });
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, [this] { dialogs_.About(this); });
}

bool CKelDlg::OpensPopupKey(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Down || !(key->modifiers() & Qt::AltModifier))
        return false;
    const int slot = watched->objectName().toInt();
    if (slot < id::kFirstSlot || slot > id::kLastSlot)
        return false;
    if (!ExchangeRunning())
        ShowOptionPopup(slot);
    return true;
}

void CKelDlg::ReturnFocus(int slot)
{
    // Back to the option button the pop-up was opened from, in this window.
    activateWindow();
    if (QWidget* button = controls_.Find(slot); button && button->isVisible())
        button->setFocus(Qt::PopupFocusReason);
}

}  // namespace kel::ui
