// The window itself: its outline, dragging, the
// About entry, minimise and close, and the modal boxes going through Dialogs.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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

    static void SendMouse(QWidget* window, QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        const QPointF local(at);
        QMouseEvent event(type, local, window->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    }

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
        {
            WindowFixture f(options);
            QMenu* menu = f.window->FaceMenu();
            QAction* verify = menu->findChild<QAction*>(QStringLiteral("verifyAfterWriting"));
            QVERIFY(verify && verify->isCheckable());
            QVERIFY(!verify->isChecked());

            QTest::keyClick(f.window.get(), Qt::Key_F10, Qt::ShiftModifier);
            QTRY_VERIFY(menu->isVisible());
            QAccessibleInterface* menuAccess = QAccessible::queryAccessibleInterface(menu);
            QStringList names;
            for (int i = 0; i < menuAccess->childCount(); ++i)
                names << menuAccess->child(i)->text(QAccessible::Name);
            QVERIFY2(names.contains(QStringLiteral("Verify after writing")), qPrintable(names.join(", ")));
            menu->hide();

            QVERIFY(f.Connect(id::kRadioEsc));
            f.Click(id::kApply);
            QVERIFY2(f.dialogs.messages.empty(), "off: nothing is read back");
            verify->trigger();
            QVERIFY(verify->isChecked());
        }
        WindowFixture f(options);
        QAction* verify = f.window->FaceMenu()->findChild<QAction*>(QStringLiteral("verifyAfterWriting"));
        QVERIFY(verify->isChecked());  // remembered
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kApply);  // writes Level 7 (entry 6), the ESC keeps entry 7
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Kel"));  // the application's own caption
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Read back after writing, these settings did not take:\n"
                                                            "Power Level: written Level 7*, the ESC holds Level 8"));
        verify->trigger();
    }

    void OutlineSkipsKeyColoredPixels()
    {
        WindowFixture f;
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QImage face = skin::Image(id::bmp::kBackground).convertToFormat(QImage::Format_RGB32);
        const QRegion outline = f.window->mask();
        int keyPixels = 0;
        long long faceArea = 0;
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                const bool key = (face.pixel(x, y) & RGB_MASK) == (skin::kKeyColor & RGB_MASK);
                keyPixels += key ? 1 : 0;
                faceArea += key ? 0 : 1;
                if (key == outline.contains(QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 misplaced in the outline").arg(x).arg(y)));
            }
        }
        QVERIFY(keyPixels > 0);  // the corners are cut
        long long outlineArea = 0;
        for (const QRect& r : outline)
            outlineArea += static_cast<long long>(r.width()) * r.height();
        QCOMPARE(outlineArea, faceArea);  // nothing beyond the bitmap
    }

    void PressOnTheFaceDragsOnlyOutsideTheExemptRectangle_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("moves");
        QTest::newRow("top band") << QPoint(300, 160) << true;
        QTest::newRow("left of the rectangle") << QPoint(99, 300) << true;
        QTest::newRow("rectangle's left edge") << QPoint(100, 300) << false;
        QTest::newRow("rectangle's top edge") << QPoint(300, 200) << false;
        QTest::newRow("just inside bottom right") << QPoint(579, 415) << false;
        QTest::newRow("right edge is outside") << QPoint(580, 300) << true;
        QTest::newRow("bottom edge is outside") << QPoint(300, 416) << true;
    }
    void PressOnTheFaceDragsOnlyOutsideTheExemptRectangle()
    {
        QFETCH(QPoint, press);
        QFETCH(bool, moves);
        WindowFixture f;
        QWidget* w = f.window.get();
        w->move(40, 30);
        const QPoint before = w->pos();
        SendMouse(w, QEvent::MouseButtonPress, press, Qt::LeftButton);
        SendMouse(w, QEvent::MouseMove, press + QPoint(30, 20), Qt::LeftButton);
        SendMouse(w, QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::NoButton);
        QCOMPARE(w->pos(), moves ? before + QPoint(30, 20) : before);
    }

    void PressOnALabelOrLampReachesTheFace()
    {
        WindowFixture f;
        QWidget* w = f.window.get();
        const QPoint lamp = QRect(600, 640, 32, 32).center();
        QCOMPARE(w->childAt(lamp), f.Control(id::kLampUsb));  // so its tool tip can show
        f.window->screen().SetToolTip(id::kLampUsb, "the port is busy");
        QCOMPARE(f.Control(id::kLampUsb)->toolTip(), QStringLiteral("the port is busy"));

        const QPoint before = w->pos();
        QTest::mousePress(f.Control(id::kLampUsb), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(f.Control(id::kLampUsb), QPoint(25, 15));
        QTest::mouseRelease(f.Control(id::kLampUsb), Qt::LeftButton, {}, QPoint(25, 15));
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

    void MinimiseAndCloseButtons()
    {
        WindowFixture f;
        f.Click(id::kMinimise);
        QVERIFY(f.window->isMinimized());
        f.window->showNormal();
        QCOMPARE(f.window->mask().boundingRect(), QRect(0, 0, 667, 682));

        f.Click(id::kClose);
        QVERIFY(!f.window->isVisible());
    }

    void DestroyingTheWindowClosesAnOpenPortOnce()
    {
        WindowFixture f;
        f.Tick();  // opens the port
        QVERIFY(f.device.IsOpen());
        f.window.reset();
        QVERIFY(!f.device.IsOpen());
        QCOMPARE(f.device.Opens(), 1);
    }

    void MessageBoxesAndFileChoosersGoThroughDialogs()
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

        f.Click(id::kPageProfile);
        f.Click(id::kProfileSave);  // cancelled: nothing happens
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t(1));
        QVERIFY(f.dialogs.fileRequests[0].save);
        QCOMPARE(f.dialogs.fileRequests[0].initialName, std::string("Profile1"));
        QCOMPARE(f.dialogs.messages.size(), std::size_t(2));
    }

    void FileFiltersInQtForm_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("qt");
        QTest::newRow("profiles") << "config Files (*.cfg)|*.cfg||"
                                  << "config Files (*.cfg)";
        QTest::newRow("firmware and all") << "Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||"
                                          << "Update Files (*.zrv);;all file (*)";
        QTest::newRow("name without patterns") << "Images|*.png;*.bmp||"
                                               << "Images (*.png *.bmp)";
        QTest::newRow("pattern field wins") << "Hex (*.hex)|*.zrv||"
                                            << "Hex (*.zrv)";
        QTest::newRow("empty") << ""
                               << "";
    }
    void FileFiltersInQtForm()
    {
        QFETCH(QString, platform);
        QFETCH(QString, qt);
        QCOMPARE(ui::QtFileFilter(platform.toStdString()), qt);
    }

    void DefaultSuffixWithoutWildcardOrDot()
    {
        QCOMPARE(ui::QtDefaultSuffix("*.xup"), QStringLiteral("xup"));
        QCOMPARE(ui::QtDefaultSuffix(".cfg"), QStringLiteral("cfg"));
        QCOMPARE(ui::QtDefaultSuffix("zrv"), QStringLiteral("zrv"));
        QCOMPARE(ui::QtDefaultSuffix(""), QString());
    }
};

QTEST_MAIN(WindowShellTest)
#include "WindowShellTest.moc"
