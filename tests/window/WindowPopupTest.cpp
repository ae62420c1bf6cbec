// The option pop-up as the window opens, keeps and closes it.
#include <QExposeEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>
#include <QtTest>

#include "WindowFixture.h"
#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowPopupTest : public QObject {
    Q_OBJECT

private:
    // Opens the pop-up of `slot` on `page` the way a user does: the page
    // change paints before the click.
    static CListBoxDlg* OpenPopup(WindowFixture& f, int page, int slot)
    {
        f.Click(page);
        QApplication::processEvents();
        f.Click(slot);
        QApplication::processEvents();
        return f.window->Popup();
    }

private slots:
    void OpensUnderItsButtonWithTheCaptionSelected_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("offset");
        QTest::newRow("row 0") << 1002 << 1081 << 220;
        QTest::newRow("row 1") << 1002 << 1083 << 275;
        QTest::newRow("row 3") << 1003 << 1098 << 385;
        QTest::newRow("row 4") << 1007 << 1104 << 440;
    }
    void OpensUnderItsButtonWithTheCaptionSelected()
    {
        QFETCH(int, page);
        QFETCH(int, slot);
        QFETCH(int, offset);
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.window->move(30, 20);
        CListBoxDlg* popup = OpenPopup(f, page, slot);
        QVERIFY(popup);
        QCOMPARE(popup->geometry(), QRect(30 + 245, 20 + offset, 190, 160));
        QVERIFY(popup->isVisible());
        QVERIFY(popup->List()->isVisible());
        const QString caption = f.Caption(slot);
        QVERIFY(!caption.isEmpty());
        QCOMPARE(popup->List()->currentItem()->text(), caption);
        QCOMPARE(popup->List()->count(), int(f.window->logic().OptionList(slot).size()));
    }

    void EmptyCaptionSelectsTheFirstEntry()
    {
        WindowFixture f;
        CListBoxDlg* popup = OpenPopup(f, id::kPageThrottle, 1083);
        QVERIFY(popup);
        QCOMPARE(popup->List()->currentRow(), 0);
    }

    void SecondClickOnAnOptionButtonOnlyCloses()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        const QString caption = f.Caption(1083);
        QVERIFY(OpenPopup(f, id::kPageThrottle, 1083));
        f.Click(1083);
        QVERIFY(!f.window->Popup());
        QTRY_COMPARE(f.window->findChildren<CListBoxDlg*>().size(), 0);  // deleted, not just hidden
        QCOMPARE(f.Caption(1083), caption);
        f.Click(1084);  // the next click opens again
        QVERIFY(f.window->Popup());
    }

    void ChoosingAnEntrySetsTheCaptionAndCloses()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        CListBoxDlg* popup = OpenPopup(f, id::kPageThrottle, 1083);
        QVERIFY(popup);
        const QString chosen = popup->List()->item(3)->text();
        f.ClickEntry(3);
        QCOMPARE(f.Caption(1083), chosen);
        QVERIFY(!f.window->Popup());
    }

    void ChoosingCustomEnablesItsSpin()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        CListBoxDlg* popup = OpenPopup(f, id::kPageBrake, 1096);  // Drag Brake
        QVERIFY(popup);
        QCOMPARE(popup->List()->item(7)->text(), QStringLiteral("Custom"));
        f.ClickEntry(7);
        QVERIFY(f.Control(id::kDragBrakeSpin)->isEnabled());

        popup = OpenPopup(f, id::kPageBrake, 1096);
        f.ClickEntry(0);
        QVERIFY(!f.Control(id::kDragBrakeSpin)->isEnabled());
    }

    void StaysOpenWhileControlsRedrawAndTicksRun()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        QPointer<CListBoxDlg> popup = OpenPopup(f, id::kPageThrottle, 1081);
        QVERIFY(popup);
        f.Tick();                                 // lamps and version set again
        f.window->screen().SetText(1084, "6%*");  // a caption redraws
        QTest::qWait(50);
        QVERIFY(popup);
        QVERIFY(f.window->Popup() == popup.data());
        QVERIFY(popup->isVisible());
        f.ClickEntry(0);  // and it can still be used
        QCOMPARE(f.Caption(1081), QString::fromStdString(f.window->logic().OptionList(1081)[0]));
    }

    void PaintOfTheFaceCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("window system exposes the face") << "expose";
        QTest::newRow("engine repaints the window") << "repaint";
        QTest::newRow("page change") << "page";
    }
    void PaintOfTheFaceCloses()
    {
        QFETCH(QString, how);
        WindowFixture f;
        QVERIFY(OpenPopup(f, id::kPageThrottle, 1081));
        if (how == QLatin1String("expose")) {
            QExposeEvent expose(QRegion(f.window->rect()));
            QApplication::sendEvent(f.window->windowHandle(), &expose);
        } else if (how == QLatin1String("repaint")) {
            f.window->screen().RepaintNow();
        } else {
            f.Click(id::kPageBrake);
        }
        QTRY_VERIFY(!f.window->Popup());
    }

    void PressOnTheFaceClosesEvenInsideTheDragExemptRectangle()
    {
        WindowFixture f;
        QVERIFY(OpenPopup(f, id::kPageThrottle, 1081));
        const QPoint before = f.window->pos();
        QTest::mouseClick(f.window.get(), Qt::LeftButton, {}, QPoint(500, 400));
        QVERIFY(!f.window->Popup());
        QCOMPARE(f.window->pos(), before);
    }
};

QTEST_MAIN(WindowPopupTest)
#include "WindowPopupTest.moc"
