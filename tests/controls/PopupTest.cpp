// CListBoxDlg / CMyListBox: contents, preselection, committing a choice, closing.
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel {
namespace {

const QStringList kFrequencies = {"2kHz", "4kHz", "8kHz*", "12kHz", "16kHz"};

QStringList Degrees()
{
    QStringList list;
    for (int i = 0; i <= 60; ++i)
        list << QStringLiteral("%1deg").arg(i);
    return list;
}

QStringList Entries(const CMyListBox& list)
{
    QStringList entries;
    for (int i = 0; i < list.count(); ++i)
        entries << list.item(i)->text();
    return entries;
}

int SelectedRow(const CMyListBox& list)
{
    const auto selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.first());
}

// Paint regions the list's viewport receives.
class PaintRecorder : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

}  // namespace

class PopupTest : public QObject {
    Q_OBJECT
private slots:
    void Preselection_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("selected");
        QTest::newRow("letter case ignored") << kFrequencies << "8KHZ*" << 2;
        QTest::newRow("empty caption selects entry 0") << kFrequencies << "" << 0;
        QTest::newRow("whole string only") << kFrequencies << "8kHz" << -1;
        QTest::newRow("empty list") << QStringList() << "" << -1;
        QTest::newRow("long list, far entry") << Degrees() << "57DEG" << 57;
        QTest::newRow("unsorted order kept") << QStringList{"Off", "10", "1", "Custom"} << "custom" << 3;
    }
    void Preselection()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, caption);
        CListBoxDlg popup(1083, entries, caption);
        auto* list = popup.findChild<CMyListBox*>(QString::number(id::kPopupList));
        QVERIFY(list);
        QCOMPARE(Entries(*list), entries);
        QTEST(SelectedRow(*list), "selected");
        QVERIFY(list->isHidden());  // the opener shows it

        CListBoxDlg standard(1081, std::vector<std::string>{"Level 1", "Level 7*"}, std::string("level 7*"));
        QCOMPARE(Entries(*standard.List()), (QStringList{"Level 1", "Level 7*"}));
        QCOMPARE(SelectedRow(*standard.List()), 1);
    }

    void Open_PlacesThePopupUnderTheButtonAndFocusesTheList()
    {
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.setGeometry(100, 50, 702, 705);
        window.show();
        QPointer<CListBoxDlg> popup = CListBoxDlg::Open(&window, 1083, kFrequencies, "4kHz", 275);
        QCOMPARE(popup->geometry(), QRect(345, 325, 190, 160));
        QCOMPARE(CListBoxDlg::Placement(QRect(-20, 10, 702, 705), 440), QRect(225, 450, 190, 160));
        QVERIFY(popup->List()->isVisible());
        QCOMPARE(popup->List()->geometry(), QRect(0, 0, 190, 160));
        QCOMPARE(popup->SlotId(), 1083);
        popup->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(popup.isNull());
        // Each option-button click makes a new pop-up; each close deletes it.
        for (int i = 0; i < 20; ++i)
            CListBoxDlg::Open(&window, 1081, {"Level 1", "Level 2"}, QString(), 220)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(window.findChildren<CListBoxDlg*>().size(), 0);
    }

    // Only a change of the selection chooses (once, and closes): a click on
    // the entry already selected, Escape and Enter leave the value as it is.
    void ChoosingAndNot_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("chosen");  // -1: nothing chosen
        QTest::addColumn<bool>("closes");
        QTest::newRow("click another entry") << "click 4" << 4 << true;
        QTest::newRow("arrow key down") << "down" << 2 << true;
        QTest::newRow("arrow key up") << "up" << 0 << true;
        QTest::newRow("click the selected entry") << "click 1" << -1 << false;
        QTest::newRow("escape") << "escape" << -1 << true;
        QTest::newRow("enter") << "enter" << -1 << true;
    }
    void ChoosingAndNot()
    {
        QFETCH(QString, how);
        QFETCH(int, chosen);
        QFETCH(bool, closes);
        QPointer<CListBoxDlg> popup = new CListBoxDlg(1096, kFrequencies, "4kHz");
        popup->show();
        popup->ShowList();
        QSignalSpy chosenSpy(popup.data(), &CListBoxDlg::Chosen);
        QSignalSpy dismissed(popup.data(), &CListBoxDlg::Dismissed);
        CMyListBox* list = popup->List();
        const QMap<QString, Qt::Key> keys{
            {"down", Qt::Key_Down}, {"up", Qt::Key_Up}, {"escape", Qt::Key_Escape}, {"enter", Qt::Key_Return}};
        if (how.startsWith("click")) {
            const QRect entry = list->visualItemRect(list->item(how.back().digitValue()));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
        } else {
            QTest::keyClick(list, keys[how]);
        }
        QCOMPARE(chosenSpy.count(), chosen < 0 ? 0 : 1);
        if (chosen >= 0)
            QCOMPARE(chosenSpy.first(), (QVariantList{1096, chosen, kFrequencies[chosen]}));
        QCOMPARE(dismissed.count(), closes && chosen < 0 ? 1 : 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(popup.isNull(), closes);
        delete popup.data();
    }

    void FocusInSelectsNothingAndFocusOutHidesOnlyTheList()
    {
        CListBoxDlg popup(1095, kFrequencies, "Custom");
        popup.show();
        popup.ShowList();
        QSignalSpy chosen(&popup, &CListBoxDlg::Chosen);
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(popup.List(), &focusIn);
        QCOMPARE(SelectedRow(*popup.List()), -1);
        QCOMPARE(chosen.count(), 0);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(popup.List(), &focusOut);
        QVERIFY(popup.List()->isHidden());
        QVERIFY(popup.isVisible());
    }

    void Paint_EntriesInRedOverTheBackgroundBitmap()
    {
        CListBoxDlg popup(1083, kFrequencies, "8kHz*");
        popup.show();
        popup.ShowList();
        CMyListBox* list = popup.List();
        QCOMPARE(list->font().pointSize(), 9);
        const QImage image = list->viewport()->grab().toImage();
        const QImage background = skin::Image(id::bmp::kPopupBackground);
        // Left edge and bottom-left corner: bitmap 183 itself.
        QCOMPARE(image.pixel(0, 150), background.pixel(0, 150));
        QCOMPARE(image.pixel(30, 150), background.pixel(30, 150));
        // An unselected entry's text is red 230 (anti-aliased at its edges).
        const QRect entry = list->visualItemRect(list->item(0));
        int red = 0;
        for (int y = entry.top(); y <= entry.bottom(); ++y)
            for (int x = entry.left(); x <= entry.right(); ++x)
                red += qRed(image.pixel(x, y)) >= 200 && qGreen(image.pixel(x, y)) < 60;
        QVERIFY(red > 5);
    }

    void WheelAndScroll_RepaintTheWholeList()
    {
        CListBoxDlg popup(1085, Degrees(), "");
        popup.show();
        popup.ShowList();
        CMyListBox* list = popup.List();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        PaintRecorder recorder;
        list->viewport()->installEventFilter(&recorder);

        QWheelEvent wheel(QPointF(50, 50), list->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list->viewport(), &wheel);
        QTRY_VERIFY(recorder.painted.contains(list->viewport()->rect()));
        QVERIFY(list->verticalScrollBar()->value() > 0);

        recorder.painted = QRegion();
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + 3);
        QTRY_VERIFY(recorder.painted.contains(list->viewport()->rect()));
    }
};

}  // namespace kel

QTEST_MAIN(kel::PopupTest)
#include "PopupTest.moc"
