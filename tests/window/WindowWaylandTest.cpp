// The window on a Wayland compositor (run by tests/window/on-weston.sh under
// a headless weston): the outline comes from transparency, not from a mask,
// and the option pop-up is placed relative to the window.
#include <QGuiApplication>
#include <QWindow>
#include <QtTest>

#include "WindowFixture.h"
#include "controls/CprogessDlg.h"
#include "ui/WindowScreen.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowWaylandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Never passes on another platform by accident.
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    }

    void OutsideTheOutlineIsTransparent()
    {
        WindowFixture f;
        QVERIFY(f.window->windowHandle()->requestedFormat().hasAlpha());  // no opaque region
        const QImage face = f.window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const qreal s = face.devicePixelRatio();
        auto alpha = [&](int x, int y) { return qAlpha(face.pixel(int(x * s), int(y * s))); };
        // The strips right of and below the 667 x 682 face, and a cut corner.
        for (int i = 0; i < 702; i += 7)
            QVERIFY(alpha(690, i) == 0 && alpha(i, 695) == 0);
        QCOMPARE(alpha(0, 681), 0);
        QCOMPARE(alpha(660, 681), 255);
        QCOMPARE(alpha(300, 300), 255);
        QCOMPARE(alpha(5, 5), 255);
    }

    void PopupOpensUnderItsButton()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageThrottle);
        f.window->ShowOptionPopup(1083);  // Drive Frequency, row 1
        CListBoxDlg* popup = f.window->Popup();
        // Wayland places no window where a program asks: the pop-up is a
        // part of the main window, right under its button.
        QVERIFY(popup && !popup->isWindow() && popup->isVisible());
        QCOMPARE(popup->parentWidget(), f.window.get());
        QCOMPARE(popup->geometry(), QRect(245, 275, 190, 160));  // one pixel below the button
        // The list is the window's focus (hasFocus() needs an active window; weston never activates it).
        QCOMPARE(f.window->focusWidget(), popup->List());
        // The pop-up shows its own panel, not the window under it.
        const QImage shot = popup->grab().toImage();
        QCOMPARE(shot.pixelColor(int(100 * shot.devicePixelRatio()), int(150 * shot.devicePixelRatio())).alpha(), 255);
        QTest::keyClick(popup->List(), Qt::Key_Escape);
        QTRY_VERIFY(!f.window->Popup());
    }

    void ProgressDialogShowsOnlyItsPicture()
    {
        WindowFixture f;
        f.window->screen().SettingsProgressOpen();
        auto& screen = static_cast<ui::WindowScreen&>(f.window->screen());
        CprogessDlg* dialog = screen.SettingsProgress();
        QVERIFY(dialog && dialog->isVisible());
        if (!dialog->isWindow())  // placed on the main window, as it would be on the screen
            QCOMPARE(dialog->geometry().topLeft(), QPoint(351 - 180, 352 - 40));
        const QImage shot = dialog->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const qreal s = shot.devicePixelRatio();
        QCOMPARE(qAlpha(shot.pixel(int(100 * s), int(100 * s))), 255);  // the 388 x 136 picture
        QCOMPARE(qAlpha(shot.pixel(int(450 * s), int(100 * s))), 0);    // beyond it: nothing
        QCOMPARE(qAlpha(shot.pixel(int(100 * s), int(250 * s))), 0);
        f.window->screen().SettingsProgressClose();
    }
};

QTEST_MAIN(WindowWaylandTest)
#include "WindowWaylandTest.moc"
