// Repaints every control many times. Under a leak checker (AddressSanitizer's
// LeakSanitizer, or valgrind via scripts/leak-check-controls.sh) this shows
// that painting leaves nothing behind. KEL_REPAINT_LOOPS sets the count.
#include <QtTest>

#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"
#include "controls/CXProgressCtrl.h"
#include "controls/CprogessDlg.h"
#include "controls/CxSkinButton.h"
#include "resources/ResourceIds.h"

namespace kel {
namespace {

int Loops()
{
    bool ok = false;
    const int loops = qEnvironmentVariableIntValue("KEL_REPAINT_LOOPS", &ok);
    return ok && loops > 0 ? loops : 300;
}

// Counts the paint events a widget receives, so a loop proves it painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

class RepaintLoopTest : public QObject {
    Q_OBJECT
private slots:
    void SkinButton()
    {
        QWidget parent;
        parent.resize(300, 100);
        CxSkinButton button(&parent);
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0, id::bmp::kOptionButtonMask, 0,
                         0, 0);
        button.setText(QStringLiteral("8kHz*"));
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        PaintCounter counter(&button);
        for (int i = 0; i < Loops(); ++i) {
            button.setDown(i % 2 == 0);
            button.setEnabled(i % 3 != 0);
            button.repaint();
            if (i % 50 == 0)  // re-skinning replaces bitmaps and shape
                button.ApplySkin(id::bmp::kProfileButton, id::bmp::kProfileButtonDown, 0, 0,
                                 id::bmp::kProfileButtonMask, 0, 1, 2);
        }
        QVERIFY(counter.paints >= Loops());
    }

    void ProgressBar()
    {
        CXProgressCtrl bar;
        bar.resize(350, 20);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintCounter counter(&bar);
        for (int i = 0; i < Loops(); ++i) {
            bar.setValue(i % 101);
            if (i % 100 == 0)
                bar.ShowText(QStringLiteral("Updated successfully!"));
            bar.repaint();
        }
        QVERIFY(counter.paints >= Loops());
    }

    void Popup()
    {
        const QStringList entries = {"2kHz", "4kHz", "8kHz*", "12kHz", "16kHz", "20kHz", "24kHz", "28kHz",
                                     "32kHz", "36kHz", "40kHz", "44kHz"};
        CListBoxDlg popup(1083, entries, QStringLiteral("8kHz*"));
        popup.show();
        popup.ShowList();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        PaintCounter counter(popup.List()->viewport());
        for (int i = 0; i < Loops(); ++i) {
            popup.List()->scrollToItem(popup.List()->item(i % entries.size()));
            popup.List()->viewport()->repaint();
        }
        QVERIFY(counter.paints >= Loops());
    }

    void ProgressDialog()
    {
        CprogessDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        PaintCounter counter(&dialog);
        for (int i = 0; i < Loops(); ++i) {
            dialog.SetPos(i % 101);
            if (i % 100 == 99)
                dialog.SetTitle(QStringLiteral("title"), i % 200 == 99);
            dialog.repaint();
        }
        QVERIFY(counter.paints >= Loops());
    }

    void PopupsOpenedAndClosed()
    {
        // Each option-button click makes a new pop-up; each close deletes it.
        QWidget window;
        window.resize(702, 705);
        for (int i = 0; i < std::max(1, Loops() / 10); ++i) {
            CListBoxDlg* popup = CListBoxDlg::Open(&window, 1081, {"Level 1", "Level 2"}, QString(), 220);
            popup->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCOMPARE(window.findChildren<CListBoxDlg*>().size(), 0);
    }
};

} // namespace kel

QTEST_MAIN(kel::RepaintLoopTest)
#include "RepaintLoopTest.moc"
