// The window on the simulated box and ESC: the widgets show what the engine
// decides and forward to it (the decisions are the engine tests' concern).
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
    // Through the box: its lamps and version, the ESC pages closed, and the
    // box's firmware to update, even though an ESC is behind it.
    void DeviceChoiceLightsItsLampsAndRoutesTheUpdate()
    {
        WindowFixture f;
        for (int i = 0; i < 3; ++i)
            f.Tick();  // USB, but no device chosen: neither box nor ESC
        QCOMPARE(f.device.BytesWritten(), std::size_t(0));
        f.Click(id::kRadioFix);
        QCOMPARE(f.window->logic().link().pollMode, 3);

        QVERIFY(f.Connect(id::kRadioBox));
        QCOMPARE(f.Bitmap(id::kLampUsb), id::bmp::kLampOn);
        QCOMPARE(f.Bitmap(id::kLampBox), id::bmp::kLampOn);
        QCOMPARE(f.Bitmap(id::kLampEsc), id::bmp::kLampOff);
        QCOMPARE(f.Text(id::kVersionField), QStringLiteral("Ver: 2010007"));
        QVERIFY(!f.Control(id::kPageThrottle)->isEnabled() && f.Control(id::kPageHome)->isEnabled());
        f.Click(id::kUpdateButton);
        QVERIFY(f.dialogs.fileRequests.at(0).filter.find("*.xup") != std::string::npos);
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Read File Error!"));
        QCOMPARE(f.dialogs.messages.back().caption, QStringLiteral("Kel"));  // no caption of its own

        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kUpdateButton);  // the file chooser is cancelled
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t(2));
        QVERIFY(!f.dialogs.fileRequests[1].save);
        QVERIFY(f.dialogs.fileRequests[1].filter.find("*.zrv") != std::string::npos);
    }

    // The spin steps from its own position; profiles go through the file
    // chooser; the box update runs below a message pump: Close waits for it.
    void SpinProfilesAndTheGuardWhileTheBoxUpdates()
    {
        QTemporaryDir dir;
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

        f.dialogs.fileAnswers = {dir.filePath("race").toStdString(), dir.filePath("race.cfg").toStdString()};
        f.Click(id::kPageProfile);
        f.Click(id::kProfileSave);
        QCOMPARE(QFile(dir.filePath("race.cfg")).size(), qint64(31));
        QCOMPARE(f.dialogs.fileRequests.at(0).initialName, std::string("Profile1"));
        f.Click(id::kProfileLoad);
        QVERIFY(f.dialogs.fileRequests.at(0).save && !f.dialogs.fileRequests.at(1).save);
        QCOMPARE(f.Text(id::kProfileName), QStringLiteral("race"));
        QVERIFY(f.dialogs.messages.empty());

        f.window->logic().link().exchangeRunning = true;
        f.Click(id::kClose);
        QVERIFY(f.window->isVisible());
        f.window->logic().link().exchangeRunning = false;
        f.Click(id::kClose);
        QVERIFY(!f.window->isVisible());
    }
};

QTEST_MAIN(WindowSettingsTest)
#include "WindowSettingsTest.moc"
