// The window on the simulated box and ESC: lamps and version, pop-up choices
// applied and restored, custom fields, profiles through a stand-in file
// chooser, the update button's routing, and the guard while the box updates.
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "WindowFixture.h"
#include "ui/ArrowSpin.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void DeviceChoiceLightsItsLampsAndShowsTheVersion_data()
    {
        QTest::addColumn<int>("radio");
        QTest::addColumn<QList<int>>("lamps");  // box, ESC
        QTest::addColumn<QString>("version");
        QTest::newRow("ESC") << int(id::kRadioEsc) << QList<int>{0, 1} << "Ver: 102304";
        QTest::newRow("ProgramBox") << int(id::kRadioBox) << QList<int>{1, 0} << "Ver: 2010007";
    }
    void DeviceChoiceLightsItsLampsAndShowsTheVersion()
    {
        QFETCH(int, radio);
        QFETCH(QList<int>, lamps);
        WindowFixture f;
        auto lamp = [](int on) { return on ? id::bmp::kLampOn : id::bmp::kLampOff; };
        QVERIFY(f.Connect(radio));
        QCOMPARE(f.Bitmap(id::kLampUsb), id::bmp::kLampOn);
        QCOMPARE(f.Bitmap(id::kLampBox), lamp(lamps[0]));
        QCOMPARE(f.Bitmap(id::kLampEsc), lamp(lamps[1]));
        QTEST(f.Text(id::kVersionField), "version");
        const bool esc = radio == id::kRadioEsc;
        QCOMPARE(f.Control(id::kPageThrottle)->isEnabled(), esc);
        QVERIFY(f.Control(id::kPageHome)->isEnabled());
        if (esc) {  // the settings were read onto the option buttons; polling is faster
            QVERIFY(!f.Caption(1081).isEmpty());
            QCOMPARE(f.window->pollTimer().PeriodMs(), 500);
        }
    }

    void WithoutADeviceChoiceOnlyTheUsbLampLightsAndNothingIsSent()
    {
        WindowFixture f;
        for (int i = 0; i < 3; ++i)
            f.Tick();
        QCOMPARE(f.Bitmap(id::kLampUsb), id::bmp::kLampOn);
        QCOMPARE(f.Bitmap(id::kLampEsc), id::bmp::kLampOff);
        QCOMPARE(f.Bitmap(id::kLampBox), id::bmp::kLampOff);
        QCOMPARE(f.device.BytesWritten(), std::size_t(0));
    }

    void PopupChoiceIsAppliedBehindTheProgressPopupAndDefaultsRestoreIt()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageThrottle);
        f.Choose(1081, QStringLiteral("Level 3"));
        QCOMPARE(f.Caption(1081), QStringLiteral("Level 3"));
        QVERIFY(!f.window->Popup());
        const std::size_t before = f.device.Model().PairsReceived();
        f.Click(id::kApply);
        QCOMPARE(f.device.Model().PairsReceived() - before, std::size_t(21));
        QCOMPARE(int(f.device.Model().Settings().Bytes()[5]), 2);
        QVERIFY(!static_cast<ui::WindowScreen&>(f.window->screen()).SettingsProgress());
        QVERIFY(f.window->pollTimer().IsActive());

        f.Click(id::kDefaults);
        QCOMPARE(f.Caption(1081), QStringLiteral("Level 7*"));
        QCOMPARE(int(f.device.Model().Settings().Bytes()[5]), 6);
        QVERIFY(f.dialogs.messages.empty());
    }

    // Pasted (one edit) or typed key by key.
    void CustomFieldTexts_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("out of range") << id::kInitialBrakeEdit << false << "150"
                                      << "0%"
                                      << "The input data is invalid!";
        QTest::newRow("sign inside") << id::kDragBrakeEdit << false << "1%5"
                                     << "15%"
                                     << "";
        QTest::newRow("leading zero") << id::kDragBrakeEdit << false << "015%"
                                      << "15%"
                                      << "";
        QTest::newRow("letter") << id::kInitialBrakeEdit << false << "2x"
                                << "0%"
                                << "The input data include invalid char!";
        QTest::newRow("volt") << id::kLowVoltEdit << false << "03.5v"
                              << "3.5v"
                              << "";
        QTest::newRow("volt too low") << id::kLowVoltEdit << false << "2.0v"
                                      << "NONE"
                                      << "The input data is invalid!";
        QTest::newRow("typed percent") << id::kInitialBrakeEdit << true << "1"
                                       << "1%"
                                       << "";
        QTest::newRow("typed over 100") << id::kInitialBrakeEdit << true << "150"
                                        << "0%"
                                        << "The input data is invalid!";
    }
    void CustomFieldTexts()
    {
        QFETCH(int, edit);
        QFETCH(bool, typed);
        QFETCH(QString, text);
        QFETCH(QString, message);
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(edit == id::kLowVoltEdit ? id::kPageGeneral : id::kPageBrake);
        auto* field = f.Control<QLineEdit>(edit);
        field->setEnabled(true);
        field->setFocus();
        field->selectAll();
        if (typed)
            QTest::keyClicks(field, text);
        else
            field->insert(text);
        QTEST(field->text(), "shown");
        QCOMPARE(f.dialogs.messages.size(), std::size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty()) {
            QCOMPARE(f.dialogs.messages[0].text, message);
            QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("ZORV"));
        }
    }

    void SpinStepsFromItsOwnPosition()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageBrake);
        auto* spin = f.Control<ui::ArrowSpin>(id::kInitialBrakeSpin);
        spin->setEnabled(true);
        const int start = spin->position();
        QTest::mouseClick(spin->upButton(), Qt::LeftButton);
        QCOMPARE(spin->position(), start + 1);
        QCOMPARE(f.Text(id::kInitialBrakeEdit), QStringLiteral("%1%").arg(start + 1));
        QTest::mouseClick(spin->downButton(), Qt::LeftButton);
        QTest::mouseClick(spin->downButton(), Qt::LeftButton);
        QCOMPARE(f.Text(id::kInitialBrakeEdit), QStringLiteral("%1%").arg(start - 1));
    }

    void ProfileSavedAndLoadedThroughTheFileChooser()
    {
        QTemporaryDir dir;
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageThrottle);
        f.Choose(1083, QStringLiteral("32kHz"));
        f.Click(id::kPageProfile);
        f.dialogs.fileAnswers.push_back(dir.filePath("race").toStdString());
        f.Click(id::kProfileSave);
        QCOMPARE(QFile(dir.filePath("race.cfg")).size(), qint64(31));
        QCOMPARE(QString::fromStdString(f.dialogs.fileRequests.back().initialName), QStringLiteral("Profile1"));

        f.Click(id::kPageThrottle);
        f.Choose(1083, QStringLiteral("2kHz"));
        f.Click(id::kPageProfile);
        f.dialogs.fileAnswers.push_back(dir.filePath("race.cfg").toStdString());
        f.Click(id::kProfileLoad);
        QCOMPARE(f.Caption(1083), QStringLiteral("32kHz"));
        QCOMPARE(f.Text(id::kProfileName), QStringLiteral("race"));
        QCOMPARE(f.Text(id::kProfileVersion), QStringLiteral("Ver: 102304"));
    }

    void UpdateButtonRoutes()
    {
        WindowFixture f;
        f.Click(id::kUpdateButton);  // no port yet
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("USB Connection Error!"));
        f.Tick();  // USB, but no device chosen: neither box nor ESC
        f.Click(id::kUpdateButton);
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Device Connection Error!"));
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageHome);
        f.Click(id::kUpdateButton);  // the file chooser is cancelled
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t(1));
        QVERIFY(!f.dialogs.fileRequests[0].save);
        QVERIFY(f.dialogs.fileRequests[0].filter.find("*.zrv") != std::string::npos);
        // The box answers: the box's firmware, even though an ESC is behind it.
        QVERIFY(f.Connect(id::kRadioBox));
        f.Click(id::kUpdateButton);
        QVERIFY(f.dialogs.fileRequests.back().filter.find("*.xup") != std::string::npos);
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Read File Error!"));
        QCOMPARE(f.dialogs.messages.back().caption, QStringLiteral("Kel"));  // no caption of its own
    }

    void ButtonsStartNothingWhileTheBoxUpdateLetsMessagesThrough()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        const std::size_t pairs = f.device.Model().PairsReceived();
        const std::size_t written = f.device.BytesWritten();
        f.window->logic().link().exchangeRunning = true;
        f.Click(id::kApply);
        f.Click(id::kDefaults);
        f.Click(id::kPageProfile);
        f.Click(id::kProfileLoad);
        f.Tick();
        f.Click(id::kClose);
        QVERIFY(f.window->isVisible());  // close waits too
        f.window->logic().link().exchangeRunning = false;
        QCOMPARE(f.device.Model().PairsReceived(), pairs);
        QCOMPARE(f.device.BytesWritten(), written);
        QVERIFY(f.dialogs.fileRequests.empty());
        f.Click(id::kClose);
        QVERIFY(!f.window->isVisible());
    }
};

QTEST_MAIN(WindowSettingsTest)
#include "WindowSettingsTest.moc"
