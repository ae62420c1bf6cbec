// The window itself: size, outline, fixed controls, fonts, dragging, the
// About entry, minimise and close, and the modal boxes going through Dialogs.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QtTest>

#include "WindowFixture.h"
#include "controls/CXProgressCtrl.h"
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
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Read back after writing, these settings did not take:\n"
                                "Power Level: written Level 7*, the ESC holds Level 8"));
        verify->trigger();
    }

    void SizeIsFixedAndOutlineSkipsKeyColouredPixels()
    {
        WindowFixture f;
        QCOMPARE(f.window->size(), QSize(702, 705));
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));

        const QImage face = skin::Image(id::bmp::kBackground).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(face.size(), QSize(667, 682));
        const QRegion outline = f.window->mask();
        int keyPixels = 0;
        long long faceArea = 0;
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                const bool key = (face.pixel(x, y) & RGB_MASK) == (skin::kKeyColour & RGB_MASK);
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
        QVERIFY(!outline.contains(QPoint(690, 300)));
        QVERIFY(!outline.contains(QPoint(300, 695)));
    }

    void FixedControlsStandAtTheirPixels_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QRect>("where");
        QTest::newRow("close") << 1010 << QRect(620, 13, 27, 25);
        QTest::newRow("minimise") << 1009 << QRect(586, 13, 27, 25);
        QTest::newRow("apply") << 1000 << QRect(30, 595, 120, 70);
        QTest::newRow("defaults") << 1001 << QRect(160, 595, 120, 70);
        QTest::newRow("box lamp") << 1055 << QRect(600, 580, 32, 32);
        QTest::newRow("esc lamp") << 1052 << QRect(600, 610, 32, 32);
        QTest::newRow("usb lamp") << 1053 << QRect(600, 640, 32, 32);
        QTest::newRow("home picture") << 1060 << QRect(32, 136, 603, 400);
        QTest::newRow("version") << 1500 << QRect(268, 405, 125, 30);
        QTest::newRow("update") << 1061 << QRect(435, 402, 125, 35);
        QTest::newRow("progress") << 1062 << QRect(160, 470, 350, 20);
        QTest::newRow("radio esc") << 1114 << QRect(400, 562, 12, 12);
        QTest::newRow("radio box") << 1116 << QRect(457, 562, 12, 12);
        QTest::newRow("radio fix") << 1117 << QRect(562, 562, 12, 12);
        QTest::newRow("page home") << 1018 << QRect(50, 55, 140, 46);
        QTest::newRow("page mode") << 1006 << QRect(485, 105, 140, 46);
        QTest::newRow("label row 0") << 1200 << QRect(55, 190, 160, 40);
        QTest::newRow("label row 5") << 1205 << QRect(55, 465, 160, 40);
        QTest::newRow("option row 0") << 1081 << QRect(245, 185, 200, 34);
        QTest::newRow("option row 4") << 1104 << QRect(245, 405, 200, 34);
        QTest::newRow("initial brake edit") << 1047 << QRect(460, 190, 60, 25);
        QTest::newRow("initial brake spin") << 1046 << QRect(520, 190, 20, 27);
        QTest::newRow("low volt edit") << 1050 << QRect(460, 243, 60, 25);
        QTest::newRow("low volt spin") << 1051 << QRect(520, 243, 20, 27);
        QTest::newRow("stock") << 1118 << QRect(250, 190, 50, 20);
        QTest::newRow("switch") << 1115 << QRect(300, 175, 140, 46);
        QTest::newRow("MOD") << 1119 << QRect(460, 190, 50, 20);
    }
    void FixedControlsStandAtTheirPixels()
    {
        QFETCH(int, control);
        QFETCH(QRect, where);
        WindowFixture f;
        QVERIFY(f.Control(control));
        QCOMPARE(f.Control(control)->geometry(), where);
    }

    void VersionFieldIsYellowReadOnlyAndDisabled()
    {
        WindowFixture f;
        auto* version = f.Control<QLineEdit>(id::kVersionField);
        QVERIFY(version->isReadOnly());
        QVERIFY(!version->isEnabled());
        QCOMPARE(version->palette().color(QPalette::Disabled, QPalette::Text), QColor(255, 255, 0));
        QCOMPARE(version->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(version->font().pointSize(), 9);

        const QLabel* label = f.Control<QLabel>(1200);
        QCOMPARE(label->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(label->font().pointSize(), f.window->logicalDpiY() == 96 ? 10 : 8);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(!label->autoFillBackground());
    }

    void ProgressBarAndPollTimerStartAsTheyShould()
    {
        WindowFixture f;
        auto* bar = f.Control<CXProgressCtrl>(id::kProgressBar);
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 99);
        QVERIFY(f.window->pollTimer().IsActive());
        QCOMPARE(f.window->pollTimer().PeriodMs(), 2000);
        for (int lamp : {1055, 1052, 1053})
            QCOMPARE(f.Control(lamp)->property(ui::kBitmapProperty).toInt(), id::bmp::kLampOff);
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

    void CloseWaitsWhileTheBoxUpdateLetsMessagesThrough()
    {
        WindowFixture f;
        f.window->logic().link().exchangeRunning = true;
        f.Click(id::kClose);
        QVERIFY(f.window->isVisible());
        f.window->logic().link().exchangeRunning = false;
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
        QTest::newRow("profiles") << "config Files (*.cfg)|*.cfg||" << "config Files (*.cfg)";
        QTest::newRow("firmware and all")
            << "Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||" << "Update Files (*.zrv);;all file (*)";
        QTest::newRow("name without patterns") << "Images|*.png;*.bmp||" << "Images (*.png *.bmp)";
        QTest::newRow("pattern field wins") << "Hex (*.hex)|*.zrv||" << "Hex (*.zrv)";
        QTest::newRow("empty") << "" << "";
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
