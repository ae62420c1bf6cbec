// The window on the simulated box and ESC: lamps, version text, and the
// buttons that start exchanges. Room for more of the settings and update
// wiring: each case builds its own window on a fresh simulator.
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "WindowFixture.h"
#include "ui/ArrowSpin.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowLinkTest : public QObject {
    Q_OBJECT

private:
    static int Lamp(const WindowFixture& f, int lamp) { return f.Control(lamp)->property(ui::kBitmapProperty).toInt(); }
    static QString Text(const WindowFixture& f, int id) { return f.Control<QLineEdit>(id)->text(); }

private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Kel")); }

    void ChoosingEscLightsUsbAndEscAndShowsTheVersion()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        QCOMPARE(Lamp(f, id::kLampUsb), id::bmp::kLampOn);
        QCOMPARE(Lamp(f, id::kLampEsc), id::bmp::kLampOn);
        QCOMPARE(Lamp(f, id::kLampBox), id::bmp::kLampOff);
        QCOMPARE(Text(f, id::kVersionField), QStringLiteral("Ver: 102304"));
        // The settings were read onto the option buttons.
        QVERIFY(!f.Control<QAbstractButton>(1081)->text().isEmpty());
        QCOMPARE(f.window->pollTimer().PeriodMs(), 500);
    }

    void ChoosingProgramBoxLightsTheBoxLamp()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioBox));
        QCOMPARE(Lamp(f, id::kLampUsb), id::bmp::kLampOn);
        QCOMPARE(Lamp(f, id::kLampBox), id::bmp::kLampOn);
        QCOMPARE(Lamp(f, id::kLampEsc), id::bmp::kLampOff);
        QCOMPARE(Text(f, id::kVersionField), QStringLiteral("Ver: 2010007"));
        QVERIFY(!f.Control(id::kPageThrottle)->isEnabled());
        QVERIFY(f.Control(id::kPageHome)->isEnabled());
    }

    void WithoutADeviceChoiceOnlyTheUsbLampLightsAndNothingIsSent()
    {
        WindowFixture f;
        for (int i = 0; i < 3; ++i)
            f.Tick();
        QCOMPARE(Lamp(f, id::kLampUsb), id::bmp::kLampOn);
        QCOMPARE(Lamp(f, id::kLampEsc), id::bmp::kLampOff);
        QCOMPARE(Lamp(f, id::kLampBox), id::bmp::kLampOff);
        QCOMPARE(f.device.BytesWritten(), std::size_t(0));
    }

    void ApplyWritesEveryPairBehindTheProgressPopup()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        const std::size_t before = f.device.Model().PairsReceived();
        f.Click(id::kApply);
        QCOMPARE(f.device.Model().PairsReceived() - before, std::size_t(21));
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(!static_cast<ui::WindowScreen&>(f.window->screen()).SettingsProgress());
        QVERIFY(f.window->pollTimer().IsActive());
    }

    void UpdateButtonNeedsTheBoxAndAsksForAFile()
    {
        WindowFixture f;
        f.Click(id::kUpdateButton);
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("USB Connection Error!"));

        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageHome);
        f.Click(id::kUpdateButton);  // the file chooser is cancelled
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t(1));
        QVERIFY(!f.dialogs.fileRequests[0].save);
        QVERIFY(f.dialogs.fileRequests[0].filter.find("*.zrv") != std::string::npos);
    }

    void TypingIntoAPercentFieldIsCheckedAsTyped()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageBrake);
        auto* edit = f.Control<QLineEdit>(id::kInitialBrakeEdit);
        edit->setEnabled(true);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("1"));
        QCOMPARE(edit->text(), QStringLiteral("1%"));
        QTest::keyClicks(edit, QStringLiteral("50"));
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("The input data is invalid!"));
        QCOMPARE(edit->text(), QStringLiteral("0%"));
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
        QCOMPARE(Text(f, id::kInitialBrakeEdit), QStringLiteral("%1%").arg(start + 1));
        QTest::mouseClick(spin->downButton(), Qt::LeftButton);
        QTest::mouseClick(spin->downButton(), Qt::LeftButton);
        QCOMPARE(Text(f, id::kInitialBrakeEdit), QStringLiteral("%1%").arg(start - 1));
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
        f.window->logic().link().exchangeRunning = false;
        QCOMPARE(f.device.Model().PairsReceived(), pairs);
        QCOMPARE(f.device.BytesWritten(), written);
        QVERIFY(f.dialogs.fileRequests.empty());
    }
};

QTEST_MAIN(WindowLinkTest)
#include "WindowLinkTest.moc"
