// CListBoxDlg / CMyListBox: contents, preselection, committing a choice, closing.
#include <QPointer>
#include <QtTest>

#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"
#include "resources/ResourceIds.h"

namespace kel {
namespace {

const QStringList kFrequencies = {"2kHz", "4kHz", "8kHz*", "12kHz", "16kHz"};

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

}  // namespace

class PopupTest : public QObject {
    Q_OBJECT
private slots:
    void Preselection()
    {
        // Letter case ignored; empty caption selects entry 0; the whole string only; an empty list; the order kept.
        for (auto [entries, caption, selected] : {std::tuple{kFrequencies, "8KHZ*", 2},
                                                  {kFrequencies, "", 0},
                                                  {kFrequencies, "8kHz", -1},
                                                  {QStringList(), "", -1},
                                                  {QStringList{"Off", "10", "1", "Custom"}, "custom", 3}}) {
            CListBoxDlg popup(1083, entries, QString::fromLatin1(caption));
            auto* list = popup.findChild<CMyListBox*>(QString::number(id::kPopupList));
            QVERIFY(list);
            QCOMPARE(Entries(*list), entries);
            QCOMPARE(SelectedRow(*list), selected);
            QVERIFY(list->isHidden());  // the opener shows it
        }
        CListBoxDlg standard(1081, std::vector<std::string>{"Level 1", "Level 7*"}, std::string("level 7*"));
        QCOMPARE(Entries(*standard.List()), (QStringList{"Level 1", "Level 7*"}));
        QCOMPARE(SelectedRow(*standard.List()), 1);
    }

    // Only a change of the selection chooses (once, and closes): a click on
    // the entry already selected, Escape and Enter leave the value as it is.
    void ChoosingAndNot()
    {
        const std::tuple<int, int, bool> cases[] = {
            // key (0: a click on entry `chosen`, or on entry 1 with -1), entry chosen, closes
            {0, 4, true},   {Qt::Key_Down, 2, true},    {Qt::Key_Up, 0, true},
            {0, -1, false}, {Qt::Key_Escape, -1, true}, {Qt::Key_Return, -1, true},
        };
        for (auto [key, chosen, closes] : cases) {
            QPointer<CListBoxDlg> popup = new CListBoxDlg(1096, kFrequencies, "4kHz");
            popup->show();
            popup->ShowList();
            QSignalSpy chosenSpy(popup.data(), &CListBoxDlg::Chosen);
            QSignalSpy dismissed(popup.data(), &CListBoxDlg::Dismissed);
            CMyListBox* list = popup->List();
            if (key == 0)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(chosen < 0 ? 1 : chosen)).center());
            else
                QTest::keyClick(list, Qt::Key(key));
            QCOMPARE(chosenSpy.count(), chosen < 0 ? 0 : 1);
            if (chosen >= 0)
                QCOMPARE(chosenSpy.first(), (QVariantList{1096, chosen, kFrequencies[chosen]}));
            QCOMPARE(dismissed.count(), closes && chosen < 0 ? 1 : 0);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(popup.isNull(), closes);
            delete popup.data();
        }
    }
};

}  // namespace kel

QTEST_MAIN(kel::PopupTest)
#include "PopupTest.moc"
