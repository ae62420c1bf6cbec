// The window itself: its outline, dragging, the face menu (About, verify
// after writing), minimise and close, and the modal boxes and file choosers
// going through Dialogs.
#include <QLabel>
#include <QMouseEvent>
#include <QtTest>

#include "WindowFixture.h"
#include "resources/Skin.h"
#include "ui/CAboutDlg.h"
#include "ui/Dialogs.h"

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

    void VerifyEntryIsOffByDefaultRememberedKeyboardReachableAndNamesWhatDidNotTake()
    {
        sim::DeviceOptions options;
        options.faults.Set(sim::FaultKind::MisstoredTag, 0xE4);  // Power Level stored one entry higher
        auto verifyOf = [](WindowFixture& f) {
            return f.window->FaceMenu()->findChild<QAction*>(QStringLiteral("verifyAfterWriting"));
        };
        {
            WindowFixture f(options);
            QAction* verify = verifyOf(f);
            QVERIFY(verify && verify->isCheckable() && !verify->isChecked());
            const QStringList names = test::MenuNamesByKeyboard(f.window.get(), f.window->FaceMenu());
            QVERIFY2(names.contains(QStringLiteral("Verify after writing")), qPrintable(names.join(", ")));
            verify->trigger();
        }
        WindowFixture f(options);
        QVERIFY(verifyOf(f)->isChecked());  // remembered
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kApply);  // writes Level 7 (entry 6), the ESC keeps entry 7
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Kel"));  // the application's own caption
        QVERIFY(f.dialogs.messages[0].text.endsWith(QStringLiteral("written Level 7*, the ESC holds Level 8")));
        verifyOf(f)->trigger();
    }

    void OutlineSkipsKeyColoredPixels()
    {
        WindowFixture f;
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QImage face = skin::Image(id::bmp::kBackground).convertToFormat(QImage::Format_RGB32);
        const QRegion outline = f.window->mask();
        long long keyPixels = 0, outlineArea = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                const bool key = (face.pixel(x, y) & RGB_MASK) == (skin::kKeyColor & RGB_MASK);
                keyPixels += key;
                if (key == outline.contains(QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 misplaced in the outline").arg(x).arg(y)));
            }
        QVERIFY(keyPixels > 0);  // the corners are cut
        for (const QRect& r : outline)
            outlineArea += static_cast<long long>(r.width()) * r.height();
        QCOMPARE(outlineArea, face.width() * face.height() - keyPixels);  // nothing beyond the bitmap
    }

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
    }

    void PressOnALabelOrLampReachesTheFace()
    {
        WindowFixture f;
        QWidget* w = f.window.get();
        QWidget* lamp = f.Control(id::kLampUsb);
        QCOMPARE(w->childAt(QRect(600, 640, 32, 32).center()), lamp);  // so its tool tip can show
        f.window->screen().SetToolTip(id::kLampUsb, "the port is busy");
        QCOMPARE(lamp->toolTip(), QStringLiteral("the port is busy"));
        const QPoint before = w->pos();
        QTest::mousePress(lamp, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(lamp, QPoint(25, 15));
        QTest::mouseRelease(lamp, Qt::LeftButton, {}, QPoint(25, 15));
        QCOMPARE(w->pos(), before + QPoint(20, 10));
    }

    void AboutEntryOfTheFaceMenuOpensTheAboutBox()
    {
        WindowFixture f;
        QMenu* menu = f.window->FaceMenu();
        QCOMPARE(menu->actions().size(), 2);
        QAction* about = menu->actions().constFirst();
        QCOMPARE(about->text(), QStringLiteral("关于 Kel(&A)..."));
        about->trigger();
        QCOMPARE(f.dialogs.abouts, 1);

        ui::CAboutDlg box;
        QCOMPARE(box.windowTitle(), QStringLiteral("关于 Kel"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("aboutVersion"))->text(), QStringLiteral("Kel 1.0 版"));
        QCOMPARE(box.findChild<QAbstractButton*>(QStringLiteral("aboutOk"))->text(), QStringLiteral("确定"));
    }

    void MinimiseAndCloseButtonsAndTheDestructorClosesThePortOnce()
    {
        WindowFixture f;
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

    void MessageBoxesGoThroughDialogs()
    {
        WindowFixture f;
        f.Click(id::kPageModeSelect);
        f.Click(id::kModeSwitch);  // no box yet
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("ZORV"));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("USB Connection Error!"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Error);

        f.window->screen().MessageBox("no caption of its own", "", MessageIcon::None);
        QCOMPARE(f.dialogs.messages[1].caption, QStringLiteral("Kel"));
    }

    void FileFiltersAndSuffixesInQtForm()
    {
        // clang-format off
        const std::pair<const char*, const char*> filters[] = {
            {"config Files (*.cfg)|*.cfg||", "config Files (*.cfg)"},
            {"Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||", "Update Files (*.zrv);;all file (*)"},
            {"Images|*.png;*.bmp||", "Images (*.png *.bmp)"},  // a name without patterns
            {"Hex (*.hex)|*.zrv||", "Hex (*.zrv)"},            // the pattern field wins
            {"", ""},
        };
        // clang-format on
        for (const auto& [platform, qt] : filters)
            QCOMPARE(ui::QtFileFilter(platform), QString::fromUtf8(qt));
        QCOMPARE(ui::QtDefaultSuffix("*.xup"), QStringLiteral("xup"));
        QCOMPARE(ui::QtDefaultSuffix(".cfg"), QStringLiteral("cfg"));
        QCOMPARE(ui::QtDefaultSuffix("zrv"), QStringLiteral("zrv"));
        QCOMPARE(ui::QtDefaultSuffix(""), QString());
    }

    void FileChoosersOpenInTheLastFolderUsed()
    {
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
