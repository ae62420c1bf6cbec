// The main window with the keyboard alone, and as a screen reader sees it;
// typing into the custom fields.
#include <QtTest>

#include "WindowFixture.h"
#include "controls/CxSkinButton.h"

using namespace kel;
using kel::test::WindowFixture;

namespace {

// A key as the user types it: to whatever has the keyboard focus.
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClick(target, key, modifiers);
    QApplication::processEvents();
}

// Tab until the control `id` has the focus; false when Tab never reaches it.
bool TabTo(int id)
{
    for (int i = 0; i < 80; ++i) {
        if (QWidget* focus = QApplication::focusWidget(); focus && focus->objectName() == QString::number(id))
            return true;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return false;
}

QAccessibleInterface* FindInTree(QAccessibleInterface* node, const QString& name, QAccessible::Role role)
{
    if (!node || (node->role() == role && node->text(QAccessible::Name) == name))
        return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* hit = FindInTree(node->child(i), name, role))
            return hit;
    return nullptr;
}

}  // namespace

class WindowKeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void KeyboardAloneChoosesPowerLevel5AndAppliesIt()
    {
        WindowFixture f;
        QVERIFY(f.Activate());
        // The keyboard starts at the device choice (never on the close button).
        QCOMPARE(QApplication::focusWidget(), f.Control(id::kRadioEsc));
        Key(Qt::Key_Space);
        QVERIFY(f.Control<QAbstractButton>(id::kRadioEsc)->isChecked());
        for (int i = 0; i < 6 && !f.Answered(id::kRadioEsc); ++i)
            f.Tick();
        QVERIFY(f.Answered(id::kRadioEsc));

        // Tab stops once on the page buttons, at the open page's; arrows
        // move along them and open the page.
        QVERIFY(TabTo(id::kPageHome));
        Key(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), f.Control(id::kPageThrottle));
        QVERIFY(f.Control<CxSkinButton>(id::kPageThrottle)->ShowsFocusMark());
        QVERIFY(f.Control(1081)->isVisible());
        QVERIFY(f.Control<QAbstractButton>(id::kPageThrottle)->isChecked());  // shown selected

        QVERIFY(TabTo(1081));
        const std::vector<std::string> levels = f.window->logic().OptionList(1081);
        const int target = int(std::find(levels.begin(), levels.end(), "Level 5") - levels.begin());
        for (int step = 0; step < 9 && f.window->logic().Caption(1081) != "Level 5"; ++step) {
            Key(Qt::Key_Down, Qt::AltModifier);
            CListBoxDlg* popup = f.window->Popup();
            QVERIFY(popup);
            QTRY_VERIFY(popup->List()->hasFocus());
            const int now = popup->List()->currentRow();
            Key(now > target ? Qt::Key_Up : Qt::Key_Down);  // a move of the selection chooses
            QVERIFY(!f.window->Popup());
            QTRY_COMPARE(QApplication::focusWidget(), f.Control(1081));
        }
        QCOMPARE(f.Caption(1081), QStringLiteral("Level 5"));

        QVERIFY(TabTo(id::kApply));
        Key(Qt::Key_Space);
        QCOMPARE(int(f.device.Model().Settings().Bytes()[5]), 4);  // Level 5
        QVERIFY(f.dialogs.messages.empty());
        // The progress pop-up has closed again; polling goes on.
        QVERIFY(!static_cast<ui::WindowScreen&>(f.window->screen()).SettingsProgress());
        QVERIFY(f.window->pollTimer().IsActive());
    }

    // Ctrl+S and Ctrl+O act on the Profile page only; F1 opens About. In the
    // custom fields, pasted (one edit) or typed key by key; Enter ends the
    // entry. The refusal text is selected: the next key starts afresh.
    void ShortcutsAndCustomFieldTexts()
    {
        WindowFixture f;
        QVERIFY(f.Activate());
        QVERIFY(f.Connect(id::kRadioEsc));
        QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(f.dialogs.fileRequests.empty());
        f.Click(id::kPageProfile);
        QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(f.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t(2));
        QVERIFY(f.dialogs.fileRequests[0].save && !f.dialogs.fileRequests[1].save);
        QTest::keyClick(f.window.get(), Qt::Key_F1);
        QCOMPARE(f.dialogs.abouts, 1);

        struct Case {
            int edit;
            const char *how, *text, *shown;
            bool refused;
        };
        const Case cases[] = {
            {id::kInitialBrakeEdit, "paste", "150", "0%", true}, {id::kDragBrakeEdit, "paste", "1%5", "15%", false},
            {id::kInitialBrakeEdit, "type", "1", "1%", false},   {id::kLowVoltEdit, "type", "3", "3", false},
            {id::kLowVoltEdit, "enter", "3", "NONE", true},      {id::kLowVoltEdit, "type", "23.5", "3.5v", true},
        };
        for (const Case& c : cases) {
            f.Click(c.edit == id::kLowVoltEdit ? id::kPageGeneral : id::kPageBrake);
            auto* field = f.Control<QLineEdit>(c.edit);
            field->setEnabled(true);
            field->setFocus(Qt::TabFocusReason);
            field->selectAll();
            f.dialogs.messages.clear();
            if (c.how == std::string_view("paste"))
                field->insert(QLatin1String(c.text));
            else
                QTest::keyClicks(field, QLatin1String(c.text));
            if (c.how == std::string_view("enter"))
                QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(field->text(), QLatin1String(c.shown));
            QCOMPARE(f.dialogs.messages.size(), std::size_t(c.refused));
            QVERIFY(!c.refused
                    || (f.dialogs.messages[0].text == QStringLiteral("The input data is invalid!")
                        && f.dialogs.messages[0].caption == QStringLiteral("ZORV")
                        && f.dialogs.messages[0].icon == MessageIcon::Error));
        }
    }

    // Disabled page buttons look greyed; a screen reader sees names, roles and states.
    void DisabledLookAndScreenReader()
    {
        WindowFixture f;
        auto* throttleButton = f.Control<CxSkinButton>(id::kPageThrottle);
        const QImage live = throttleButton->grab().toImage();
        throttleButton->setEnabled(false);
        const QImage off = throttleButton->grab().toImage();
        throttleButton->setEnabled(true);
        QVERIFY(live != off);
        for (int y = 0; y < off.height(); y += 3)  // no pixel of the disabled look keeps a color
            for (int x = 0; x < off.width(); x += 3)
                QVERIFY(std::abs(qRed(off.pixel(x, y)) - qGreen(off.pixel(x, y))) <= 1);

        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(f.window.get());
        auto find = [root](const char* name, QAccessible::Role role) {
            return FindInTree(root, QLatin1String(name), role);
        };
        QAccessibleInterface* usb = find("USB Connection", QAccessible::Indicator);
        QVERIFY(usb && !usb->state().checked);
        QCOMPARE(usb->text(QAccessible::Value), QStringLiteral("off"));
        QVERIFY(f.Connect(id::kRadioEsc));
        QVERIFY(usb->state().checked);
        QCOMPARE(usb->text(QAccessible::Value), QStringLiteral("on"));
        QAccessibleInterface* esc = find("ESC", QAccessible::RadioButton);
        QVERIFY(esc && esc->state().checked);
        QAccessibleInterface* version = find("Firmware version", QAccessible::EditableText);
        QVERIFY(version && version->state().readOnly && !f.Text(id::kVersionField).isEmpty());
        QCOMPARE(version->text(QAccessible::Value), f.Text(id::kVersionField));
        for (const char* name : {"Apply Settings", "Default Settings", "Update", "Close"})
            QVERIFY2(find(name, QAccessible::Button), name);

        QAccessibleInterface* home = find("Home", QAccessible::PageTab);
        QAccessibleInterface* throttle = find("Throttle Settings", QAccessible::PageTab);
        QVERIFY(home && home->state().selected && throttle && !throttle->state().selected);
        throttle->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(throttle->state().selected);
        QAccessibleInterface* power = find("Power Level", QAccessible::Button);
        QVERIFY(power && power->state().focusable);
        QCOMPARE(power->text(QAccessible::Description), QStringLiteral("Level 7*"));
    }
};

QTEST_MAIN(WindowKeyboardTest)
#include "WindowKeyboardTest.moc"
