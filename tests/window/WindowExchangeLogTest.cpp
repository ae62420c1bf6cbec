// "Save exchange log..." in the window's menu: keyboard reachable, named for
// screen readers, and it saves the bytes the window exchanged in the log format.
#include <QtTest>
#include <filesystem>

#include "WindowFixture.h"
#include "link/TraceRing.h"
#include "support/Process.h"
#include "ui/ExchangeLogEntry.h"

using namespace kel;

class WindowExchangeLogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir preferences_;

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("Kel"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, preferences_.path());
    }

    void SavesWhatWentOverTheLinkAndSaysWhenItCannot()
    {
        VirtualClock clock;
        auto simulated = std::make_unique<sim::InProcessDevice>(clock);
        sim::InProcessPortFinder finder(*simulated);
        TraceRing ring;
        TracingDevice device(std::move(simulated), clock, {&ring});
        test::RecordingDialogs dialogs;
        ui::CKelDlg window(device, finder, clock, dialogs);
        ui::AddExchangeLogEntry(*window.FaceMenu(), window, dialogs, ring);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList names = test::MenuNamesByKeyboard(&window, window.FaceMenu());
        QVERIFY2(names.contains(QStringLiteral("Save exchange log...")), qPrintable(names.join(", ")));

        window.logic().OnDeviceRadio(id::kRadioEsc);
        for (int i = 0; i < 4 && !window.logic().EscConnected(); ++i)
            window.logic().OnTimer();  // opens the port, polls, reads the settings
        QVERIFY(window.logic().EscConnected());

        const std::string folder = test::MakeTempDir("kel-exchange-log");
        const std::string path = folder + "/box.log";
        dialogs.fileAnswers = {path, folder + "/no such folder/box.log"};
        QAction* save = window.FaceMenu()->findChild<QAction*>(QStringLiteral("saveExchangeLog"));
        QVERIFY(save);
        save->trigger();
        QVERIFY(dialogs.fileRequests.at(0).save);
        const ParsedTrace saved = ParseTrace(test::ReadWholeFile(path));
        QCOMPARE(saved.error, std::string());
        QCOMPARE(saved.entries.size(), ring.Size());
        QCOMPARE(saved.entries.front().exchange, std::string("poll"));
        QCOMPARE(saved.entries.back().exchange, std::string("read settings"));
        QVERIFY(dialogs.messages.empty());

        save->trigger();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QVERIFY(dialogs.messages[0].text.startsWith(QStringLiteral("The exchange log was not saved: ")));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Error);
        std::filesystem::remove_all(folder);
    }
};

QTEST_MAIN(WindowExchangeLogTest)
#include "WindowExchangeLogTest.moc"
