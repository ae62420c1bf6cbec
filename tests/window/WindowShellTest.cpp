// The window itself: outline, dragging, the face menu, minimise and close,
// the file choosers' filters and folder.
#include <QMouseEvent>
#include <QtTest>

#include "WindowFixture.h"
#include "link/TraceRing.h"
#include "resources/Skin.h"
#include "ui/ExchangeLogEntry.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowShellTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir preferences_;

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("Kel"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, preferences_.path());
    }

    void VerifyEntryIsOffByDefaultRememberedAndNamesWhatDidNotTake()
    {
        sim::DeviceOptions options;
        options.faults.Set(sim::FaultKind::MisstoredTag, 0xE4);  // Power Level stored one entry higher
        auto verifyOf = [](WindowFixture& f) {
            return f.window->FaceMenu()->findChild<QAction*>(QStringLiteral("verifyAfterWriting"));
        };
        {
            WindowFixture f(options);
            QVERIFY(verifyOf(f)->isCheckable() && !verifyOf(f)->isChecked());
            verifyOf(f)->trigger();
        }
        WindowFixture f(options);
        QVERIFY(verifyOf(f)->isChecked());  // remembered
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kApply);  // writes Level 7 (entry 6), the ESC keeps entry 7
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QVERIFY(f.dialogs.messages[0].text.endsWith(QStringLiteral("written Level 7*, the ESC holds Level 8")));
        verifyOf(f)->trigger();
    }

    // The face menu is reached by the keyboard too.
    void ExchangeLogSavesWhatWentOverTheLinkAndSaysWhenItCannot()
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
        QTest::keyClick(&window, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(window.FaceMenu()->isVisible());
        window.FaceMenu()->hide();

        window.logic().OnDeviceRadio(id::kRadioEsc);
        for (int i = 0; i < 4 && !window.logic().EscConnected(); ++i)
            window.logic().OnTimer();  // opens the port, polls, reads the settings
        QVERIFY(window.logic().EscConnected());
        QTemporaryDir folder;
        const std::string path = folder.filePath(QStringLiteral("box.log")).toStdString();
        dialogs.fileAnswers = {path, folder.filePath(QStringLiteral("no such folder/box.log")).toStdString()};
        QAction* save = window.FaceMenu()->findChild<QAction*>(QStringLiteral("saveExchangeLog"));
        save->trigger();
        QVERIFY(dialogs.fileRequests.at(0).save);
        QFile log(QString::fromStdString(path));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const ParsedTrace saved = ParseTrace(log.readAll().toStdString());
        QCOMPARE(saved.error, std::string());
        QCOMPARE(saved.entries.size(), ring.Size());
        QVERIFY(dialogs.messages.empty());

        save->trigger();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QVERIFY(dialogs.messages[0].text.startsWith(QStringLiteral("The exchange log was not saved: ")));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Error);
    }

    void OutlineSkipsKeyColoredPixels()
    {
        WindowFixture f;
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QImage face = skin::Image(id::bmp::kBackground).convertToFormat(QImage::Format_RGB32);
        const QRegion outline = f.window->mask();
        long long keyPixels = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                const bool key = (face.pixel(x, y) & RGB_MASK) == (skin::kKeyColor & RGB_MASK);
                keyPixels += key;
                if (key == outline.contains(QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 misplaced in the outline").arg(x).arg(y)));
            }
        QVERIFY(keyPixels > 0);                                          // the corners are cut
        QCOMPARE(outline.boundingRect(), QRect(QPoint(), face.size()));  // nothing beyond the bitmap
    }

    // Through a label or lamp too: it passes the press on, yet its tool tip shows.
    void PressOnTheFaceDragsOnlyOutsideTheExemptRectangle()
    {
        WindowFixture f;
        QWidget* w = f.window.get();
        auto send = [w](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(w, &event);
        };
        // The rectangle is 100,200 to 579,415; the top band and the rest of the face drag.
        const std::pair<QPoint, bool> presses[] = {{{300, 160}, true},  {{99, 300}, true},   {{100, 300}, false},
                                                   {{300, 200}, false}, {{579, 415}, false}, {{580, 300}, true},
                                                   {{300, 416}, true}};
        for (auto [press, moves] : presses) {
            const QPoint before = w->pos();
            send(QEvent::MouseButtonPress, press, Qt::LeftButton);
            send(QEvent::MouseMove, press + QPoint(30, 20), Qt::LeftButton);
            send(QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::NoButton);
            QVERIFY2(w->pos() == before + (moves ? QPoint(30, 20) : QPoint()), qPrintable(QString::number(press.x())));
        }
        QWidget* lamp = f.Control(id::kLampUsb);
        QCOMPARE(w->childAt(QRect(600, 640, 32, 32).center()), lamp);
        f.window->screen().SetToolTip(id::kLampUsb, "the port is busy");
        QCOMPARE(lamp->toolTip(), QStringLiteral("the port is busy"));
        const QPoint before = w->pos();
        QTest::mousePress(lamp, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(lamp, QPoint(25, 15));
        QTest::mouseRelease(lamp, Qt::LeftButton, {}, QPoint(25, 15));
        QCOMPARE(w->pos(), before + QPoint(20, 10));
    }

    void AboutMinimiseAndCloseAndTheDestructorClosesThePortOnce()
    {
        WindowFixture f;
        QMenu* menu = f.window->FaceMenu();
        QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("关于 Kel(&A)..."));
        menu->actions().constFirst()->trigger();
        QCOMPARE(f.dialogs.abouts, 1);
        f.Tick();  // opens the port
        f.Click(id::kMinimise);
        QVERIFY(f.window->isMinimized());
        f.window->showNormal();
        QCOMPARE(f.window->mask().boundingRect(), QRect(0, 0, 667, 682));
        f.Click(id::kClose);
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.device.IsOpen());
        f.window.reset();
        QVERIFY(!f.device.IsOpen());
        QCOMPARE(f.device.Opens(), 1);
    }

    void FileFiltersSuffixesAndTheLastFolder()
    {
        QCOMPARE(ui::QtFileFilter("Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||"),
                 QStringLiteral("Update Files (*.zrv);;all file (*)"));
        for (auto [pattern, suffix] : {std::pair{"*.xup", "xup"}, {".cfg", "cfg"}, {"zrv", "zrv"}, {"", ""}})
            QCOMPARE(ui::QtDefaultSuffix(pattern), QString::fromLatin1(suffix));

        // The choosers open in the last folder used.
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("kel.conf")), QSettings::IniFormat);
        QCOMPARE(ui::InitialFolder(settings), QDir::homePath());
        QDir(dir.path()).mkdir(QStringLiteral("firmware"));
        ui::RememberFolder(settings, dir.filePath(QStringLiteral("firmware/new.zrv")));
        QCOMPARE(ui::InitialFolder(settings), dir.filePath(QStringLiteral("firmware")));
        QDir(dir.filePath(QStringLiteral("firmware"))).removeRecursively();
        QCOMPARE(ui::InitialFolder(settings), QDir::homePath());  // gone: home again
    }
};

QTEST_MAIN(WindowShellTest)
#include "WindowShellTest.moc"
