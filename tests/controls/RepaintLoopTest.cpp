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

class RepaintLoopTest : public QObject {
    Q_OBJECT
private slots:
    void EveryControl()
    {
        const int set = qEnvironmentVariableIntValue("KEL_REPAINT_LOOPS"), loops = set > 0 ? set : 300;
        // Paints `painted` `loops` times after `step(i)`; a grab always runs its paint event.
        auto loop = [loops](QWidget* painted, const std::function<void(int)>& step) {
            for (int i = 0; i < loops; ++i) {
                step(i);
                QVERIFY(!painted->grab().isNull());
            }
        };
        QWidget parent;
        parent.resize(300, 100);
        CxSkinButton button(&parent);
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0, id::bmp::kOptionButtonMask, 0, 0, 0);
        button.setText(QStringLiteral("8kHz*"));
        loop(&button, [&](int i) {
            button.setDown(i % 2 == 0);
            button.setEnabled(i % 3 != 0);
            if (i % 50 == 0)  // re-skinning replaces bitmaps and shape
                button.ApplySkin(id::bmp::kProfileButton, id::bmp::kProfileButtonDown, 0, 0,
                                 id::bmp::kProfileButtonMask, 0, 1, 2);
        });
        CXProgressCtrl bar;
        bar.resize(350, 20);
        loop(&bar, [&](int i) {
            bar.setValue(i % 101);
            if (i % 100 == 0)
                bar.ShowText(QStringLiteral("Updated successfully!"));
        });
        CprogessDlg dialog;
        loop(&dialog, [&](int i) {
            dialog.SetPos(i % 101);
            if (i % 100 == 99)
                dialog.SetTitle(QStringLiteral("title"), i % 200 == 99);
        });
        const QStringList entries = {"2kHz", "4kHz", "8kHz*", "12kHz", "16kHz", "20kHz", "24kHz", "28kHz"};
        CListBoxDlg popup(1083, entries, QStringLiteral("8kHz*"));
        popup.ShowList();
        loop(popup.List()->viewport(),
             [&](int i) { popup.List()->scrollToItem(popup.List()->item(i % entries.size())); });
    }
};

}  // namespace kel

QTEST_MAIN(kel::RepaintLoopTest)
#include "RepaintLoopTest.moc"
