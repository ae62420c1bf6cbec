// The pages: what each kind shows and hides, the row labels and the custom
// fields across page changes; the option pop-up as the window opens, keeps
// and closes it.
#include <QExposeEvent>
#include <QLabel>
#include <QPointer>
#include <QWindow>
#include <QtTest>

#include "WindowFixture.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowPagesTest : public QObject {
    Q_OBJECT

private slots:
    void EachPageShowsItsControlsAndLabelsAndKeepsTheCustomTexts()
    {
        struct Page {
            int page;
            QStringList labels;  // rows 0, 1, ...; "-" hidden; past the end: blank
            QList<int> shown;    // of the option buttons and the controls below
        };
        // clang-format off
        const Page pages[] = {
            {id::kPageHome, {"-", "-", "-", "-", "-", "-"}, {1060, 1500, 1061, 1062}},
            {id::kPageBrake, {"Initial Brake", "Drag Brake", "Brake Frequency", "Full Brake"},
             {1095, 1096, 1099, 1098, 1046, 1047, 1048, 1049}},
            {id::kPageGeneral, {"Temperature Set", "Low volt cut", "Operation Mode", "Reverse Speed", "Rotation mode"},
             {1100, 1101, 1102, 1103, 1104, 1050, 1051}},
            {id::kPageProfile, {"ESC Setting Profile"}, {1064, 1110, 1066, 1067}},
        };
        // clang-format on
        QList<int> controls;  // every page's, and the option buttons no page shows
        for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot)
            controls << slot;
        for (const Page& p : pages)
            controls << p.shown;
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        const QString brake = f.Text(id::kInitialBrakeEdit);  // the settings read filled it
        QVERIFY(!brake.isEmpty());
        for (const Page& p : pages) {
            f.Click(id::kPageGeneral);  // the page with the most rows: nothing of it may remain
            f.Click(p.page);
            for (int row = 0; row < id::kRowCount; ++row) {
                const QString want = row < p.labels.size() ? p.labels[row] : QStringLiteral(" ");
                auto* label = f.Control<QLabel>(id::kFirstRowLabel + row);
                QVERIFY2(label->isHidden() == (want == "-"),
                         qPrintable(QStringLiteral("%1 row %2").arg(p.page).arg(row)));
                if (want != "-")
                    QCOMPARE(label->text(), want);
            }
            for (int c : controls)
                QVERIFY2(f.Control(c)->isHidden() != p.shown.contains(c),
                         qPrintable(QString("%1: %2").arg(p.page).arg(c)));
        }
        QCOMPARE(f.Text(id::kInitialBrakeEdit), brake);  // hidden and shown again, never cleared
    }

    // Under its button with the caption selected; open through ticks and
    // redraws; a second click on its button only closes it.
    void PopupPlacementLifeAndSecondClick()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.window->move(30, 20);
        // Full Brake on row 3 (after Brake Frequency's slot); the rows are the page table's concern.
        QPointer<CListBoxDlg> popup = f.OpenPopup(id::kPageBrake, 1098);
        QVERIFY(popup && popup->isVisible() && popup->List()->isVisible());
        QCOMPARE(popup->geometry(), QRect(30 + 245, 20 + 385, 190, 160));
        QVERIFY(!f.Caption(1098).isEmpty());
        QCOMPARE(popup->List()->currentItem()->text(), f.Caption(1098));
        QCOMPARE(popup->List()->count(), int(f.window->logic().OptionList(1098).size()));
        f.window->ClosePopup();

        popup = f.OpenPopup(id::kPageThrottle, 1081);
        QVERIFY(popup);
        f.Tick();                                 // lamps and version set again
        f.window->screen().SetText(1084, "6%*");  // a caption redraws
        QTest::qWait(50);
        QVERIFY(popup && f.window->Popup() == popup.data() && popup->isVisible());
        CMyListBox* list = popup->List();  // and it can still be used
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(f.Caption(1081), QString::fromStdString(f.window->logic().OptionList(1081)[0]));
        f.Click(id::kDefaults);
        QCOMPARE(f.Caption(1081), QStringLiteral("Level 7*"));
        QCOMPARE(int(f.device.Model().Settings().Bytes()[5]), 6);
        const QString caption = f.Caption(1083);

        f.Click(1083);
        QVERIFY(f.window->Popup());
        f.Click(1083);
        QVERIFY(!f.window->Popup());
        QTRY_COMPARE(f.window->findChildren<CListBoxDlg*>().size(), 0);  // deleted, not just hidden
        QCOMPARE(f.Caption(1083), caption);
        f.Click(1084);  // the next click opens again
        QVERIFY(f.window->Popup());
    }

    void PaintOfOrPressOnTheFaceClosesThePopup()
    {
        WindowFixture f;
        for (const char* how : {"expose", "repaint", "page change", "press inside the drag-exempt rectangle"}) {
            QVERIFY(f.OpenPopup(id::kPageThrottle, 1081));
            const QPoint before = f.window->pos();
            QExposeEvent expose(QRegion(f.window->rect()));
            if (how == std::string_view("expose"))  // by the window system
                QApplication::sendEvent(f.window->windowHandle(), &expose);
            else if (how == std::string_view("repaint"))  // by the engine
                f.window->screen().RepaintNow();
            else if (how == std::string_view("page change"))
                f.Click(id::kPageBrake);
            else
                QTest::mouseClick(f.window.get(), Qt::LeftButton, {}, QPoint(500, 400));
            QVERIFY2(QTest::qWaitFor([&] { return !f.window->Popup(); }), how);
            QCOMPARE(f.window->pos(), before);
        }
    }
};

QTEST_MAIN(WindowPagesTest)
#include "WindowPagesTest.moc"
