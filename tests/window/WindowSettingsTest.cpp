// The window's settings actions on the simulated ESC: pop-up choices applied
// and restored, custom fields, profiles through a stand-in file chooser, and
// the update button's routing.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include "WindowFixture.h"
#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"

using namespace kel;
using namespace kel::test;

namespace {

QString Caption(const WindowFixture& f, int id)
{
    return f.Control<QAbstractButton>(id)->text();
}

// Picks an entry of the open pop-up as a click would.
void Choose(WindowFixture& f, int slot, const QString& entry)
{
    f.Click(slot);
    CListBoxDlg* popup = f.window->Popup();
    QVERIFY(popup);
    const auto items = popup->List()->findItems(entry, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    const QRect where = popup->List()->visualItemRect(items[0]);
    QTest::mouseClick(popup->List()->viewport(), Qt::LeftButton, {}, where.center());
}

// Replaces a field's text as a paste would: one edit by the user.
void Paste(QLineEdit* edit, const QString& text)
{
    edit->setEnabled(true);
    edit->selectAll();
    edit->insert(text);
}

} // namespace

class WindowSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Kel")); }

    void PopupChoiceIsAppliedAndDefaultSettingsRestoreIt()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageThrottle);
        Choose(f, 1081, QStringLiteral("Level 3"));
        QCOMPARE(Caption(f, 1081), QStringLiteral("Level 3"));
        QVERIFY(!f.window->Popup());
        f.Click(id::kApply);
        QCOMPARE(int(f.device.Model().Settings().Bytes()[5]), 2);

        f.Click(id::kDefaults);
        QCOMPARE(Caption(f, 1081), QStringLiteral("Level 7*"));
        QCOMPARE(int(f.device.Model().Settings().Bytes()[5]), 6);
        QVERIFY(f.dialogs.messages.empty());
    }

    void CustomFieldTexts_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("out of range") << id::kInitialBrakeEdit << "150" << "0%" << "The input data is invalid!";
        QTest::newRow("sign inside") << id::kDragBrakeEdit << "1%5" << "15%" << "";
        QTest::newRow("leading zero") << id::kDragBrakeEdit << "015%" << "15%" << "";
        QTest::newRow("letter") << id::kInitialBrakeEdit << "2x" << "0%" << "The input data include invalid char!";
        QTest::newRow("volt") << id::kLowVoltEdit << "03.5v" << "3.5v" << "";
        QTest::newRow("volt too low") << id::kLowVoltEdit << "2.0v" << "NONE" << "The input data is invalid!";
    }

    void CustomFieldTexts()
    {
        QFETCH(int, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(edit == id::kLowVoltEdit ? id::kPageGeneral : id::kPageBrake);
        auto* field = f.Control<QLineEdit>(edit);
        Paste(field, typed);
        QCOMPARE(field->text(), shown);
        if (message.isEmpty()) {
            QVERIFY(f.dialogs.messages.empty());
        } else {
            QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
            QCOMPARE(f.dialogs.messages[0].text, message);
            QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("ZORV"));
        }
    }

    void ProfileSavedAndLoadedThroughTheFileChooser()
    {
        QTemporaryDir dir;
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageThrottle);
        Choose(f, 1083, QStringLiteral("32kHz"));
        f.Click(id::kPageProfile);
        f.dialogs.fileAnswers.push_back(dir.filePath("race").toStdString());
        f.Click(id::kProfileSave);
        QFile saved(dir.filePath("race.cfg"));
        QVERIFY(saved.exists());
        QCOMPARE(saved.size(), qint64(31));
        QCOMPARE(QString::fromStdString(f.dialogs.fileRequests.back().initialName), QStringLiteral("Profile1"));

        f.Click(id::kPageThrottle);
        Choose(f, 1083, QStringLiteral("2kHz"));
        f.Click(id::kPageProfile);
        f.dialogs.fileAnswers.push_back(dir.filePath("race.cfg").toStdString());
        f.Click(id::kProfileLoad);
        QCOMPARE(Caption(f, 1083), QStringLiteral("32kHz"));
        QCOMPARE(f.Control<QLineEdit>(id::kProfileName)->text(), QStringLiteral("race"));
        QCOMPARE(f.Control<QLineEdit>(id::kProfileVersion)->text(), QStringLiteral("Ver: 102304"));
    }

    void UpdateButtonRoutes()
    {
        // USB but no device chosen: neither box nor ESC.
        WindowFixture f;
        f.Tick();
        f.Click(id::kUpdateButton);
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Device Connection Error!"));
        // The box answers: the box's firmware, even though an ESC is behind it.
        QVERIFY(f.Connect(id::kRadioBox));
        f.Click(id::kUpdateButton);
        QVERIFY(f.dialogs.fileRequests.back().filter.find("*.xup") != std::string::npos);
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Read File Error!"));
        QCOMPARE(f.dialogs.messages.back().caption, QStringLiteral("Kel"));  // no caption of its own
    }
};

QTEST_MAIN(WindowSettingsTest)
#include "WindowSettingsTest.moc"
