// Repaints every control many times, so that a leak checker (the sanitizer
// build's LeakSanitizer, or valgrind via scripts/leak-check-controls.sh) sees
// whether painting leaves anything behind. KEL_REPAINT_LOOPS sets the count.
#include <QtTest>
#include <functional>

#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"
#include "controls/CXProgressCtrl.h"
#include "controls/CprogessDlg.h"
#include "controls/CxSkinButton.h"
#include "resources/ResourceIds.h"

namespace kel {
namespace {

// Counts the paint events a widget receives, so a loop proves it painted.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Shows `shown`, then repaints `painted` KEL_REPAINT_LOOPS (300) times after `step(i)`.
void Loop(QWidget& shown, QWidget* painted, const std::function<void(int)>& step)
{
    const int loops =
        qEnvironmentVariableIntValue("KEL_REPAINT_LOOPS") > 0 ? qEnvironmentVariableIntValue("KEL_REPAINT_LOOPS") : 300;
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    PaintCounter counter;
    painted->installEventFilter(&counter);
    for (int i = 0; i < loops; ++i) {
        step(i);
        painted->repaint();
    }
    QVERIFY(counter.paints >= loops);
}

}  // namespace

class RepaintLoopTest : public QObject {
    Q_OBJECT
private slots:
    void SkinButton()
    {
        QWidget parent;
        parent.resize(300, 100);
        CxSkinButton button(&parent);
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0, id::bmp::kOptionButtonMask, 0, 0, 0);
        button.setText(QStringLiteral("8kHz*"));
        Loop(parent, &button, [&](int i) {
            button.setDown(i % 2 == 0);
            button.setEnabled(i % 3 != 0);
            if (i % 50 == 0)  // re-skinning replaces bitmaps and shape
                button.ApplySkin(id::bmp::kProfileButton, id::bmp::kProfileButtonDown, 0, 0,
                                 id::bmp::kProfileButtonMask, 0, 1, 2);
        });
    }

    void ProgressBarAndDialog()
    {
        CXProgressCtrl bar;
        bar.resize(350, 20);
        Loop(bar, &bar, [&](int i) {
            bar.setValue(i % 101);
            if (i % 100 == 0)
                bar.ShowText(QStringLiteral("Updated successfully!"));
        });
        CprogessDlg dialog;
        Loop(dialog, &dialog, [&](int i) {
            dialog.SetPos(i % 101);
            if (i % 100 == 99)
                dialog.SetTitle(QStringLiteral("title"), i % 200 == 99);
        });
    }

    void Popup()
    {
        const QStringList entries = {"2kHz", "4kHz", "8kHz*", "12kHz", "16kHz", "20kHz", "24kHz", "28kHz"};
        CListBoxDlg popup(1083, entries, QStringLiteral("8kHz*"));
        popup.ShowList();
        Loop(popup, popup.List()->viewport(),
             [&](int i) { popup.List()->scrollToItem(popup.List()->item(i % entries.size())); });
    }
};

}  // namespace kel

QTEST_MAIN(kel::RepaintLoopTest)
#include "RepaintLoopTest.moc"
