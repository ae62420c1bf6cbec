// The eight pages: what each shows and hides, the row labels, the custom
// fields across page changes, the MODE switch and the device radio buttons.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <set>

#include "WindowFixture.h"

using namespace kel;
using kel::test::WindowFixture;

namespace {
// Every control a page may show besides the row labels.
std::vector<int> PageControls()
{
    std::vector<int> controls;
    for (int slot = 1081; slot <= 1104; ++slot)
        controls.push_back(slot);
    for (int control :
         {1046, 1047, 1048, 1049, 1050, 1051, 1060, 1500, 1061, 1062, 1064, 1110, 1066, 1067, 1115, 1118, 1119})
        controls.push_back(control);
    return controls;
}
}  // namespace

class WindowPagesTest : public QObject {
    Q_OBJECT

private slots:
    void PageShowsItsControlsAndLabels_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("labels");  // rows 0..5; "-" hidden
        QTest::addColumn<QList<int>>("shown");
        const QString blank = QStringLiteral(" ");
        QTest::newRow("Home") << 1018 << QStringList{"-", "-", "-", "-", "-", "-"}
                              << QList<int>{1060, 1500, 1061, 1062};
        QTest::newRow("Throttle") << 1002
                                  << QStringList{"Power Level", "Drive Frequency", "Neutral DeadBand", blank, blank,
                                                 blank}
                                  << QList<int>{1081, 1083, 1084};
        QTest::newRow("Booster") << 1004 << QStringList{"Boost Timing", "Boost RPM", "Boost ACC", blank, "-", "-"}
                                 << QList<int>{1085, 1086, 1087};
        QTest::newRow("Turbo") << 1005 << QStringList{"Turbo Timing", "Turbo Slope", "Turbo Delay", blank, blank, blank}
                               << QList<int>{1089, 1090, 1093};
        QTest::newRow("Brake") << 1003 << QStringList{"Initial Brake", "Drag Brake", "Brake Frequency",
                                                      "Full Brake",    blank,        blank}
                               << QList<int>{1095, 1096, 1099, 1098, 1046, 1047, 1048, 1049};
        QTest::newRow("General") << 1007 << QStringList{"Temperature Set", "Low volt cut",  "Operation Mode",
                                                        "Reverse Speed",   "Rotation mode", blank}
                                 << QList<int>{1100, 1101, 1102, 1103, 1104, 1050, 1051};
        QTest::newRow("Profile") << 1008 << QStringList{"ESC Setting Profile", blank, blank, blank, blank, blank}
                                 << QList<int>{1064, 1110, 1066, 1067};
        QTest::newRow("Mode Select") << 1006 << QStringList{"Mode Select", blank, blank, blank, blank, blank}
                                     << QList<int>{1118, 1115, 1119};
    }
    void PageShowsItsControlsAndLabels()
    {
        QFETCH(int, page);
        QFETCH(QStringList, labels);
        QFETCH(QList<int>, shown);
        WindowFixture f;
        // Coming from the page with the most rows, so nothing may remain.
        f.Click(id::kPageGeneral);
        f.Click(page);
        for (int row = 0; row < 6; ++row) {
            auto* label = f.Control<QLabel>(1200 + row);
            if (labels[row] == QLatin1String("-")) {
                QVERIFY2(label->isHidden(), qPrintable(QString::number(1200 + row)));
            } else {
                QVERIFY2(!label->isHidden(), qPrintable(QString::number(1200 + row)));
                QCOMPARE(label->text(), labels[row]);
            }
        }
        const std::set<int> expected(shown.begin(), shown.end());
        for (int control : PageControls()) {
            const bool visible = !f.Control(control)->isHidden();
            QVERIFY2(visible == (expected.count(control) > 0),
                     qPrintable(QStringLiteral("control %1 %2").arg(control).arg(visible ? "shown" : "hidden")));
        }
    }

    void CustomFieldsKeepTheirTextsAcrossPages()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageBrake);
        auto* initial = f.Control<QLineEdit>(id::kInitialBrakeEdit);
        const QString before = initial->text();
        QVERIFY(!before.isEmpty());  // the settings read filled it
        f.Click(id::kPageThrottle);
        QVERIFY(initial->isHidden());
        f.Click(id::kPageBrake);
        QVERIFY(!initial->isHidden());
        QCOMPARE(initial->text(), before);
    }

    void ModeSelectShowsModBeforeAnyRead()
    {
        WindowFixture f;
        f.Click(id::kPageModeSelect);
        QCOMPARE(f.Bitmap(id::kModeSwitch), id::bmp::kModeMod);
        QVERIFY(f.Control(id::kPageBooster)->isEnabled());
        QVERIFY(f.Control(id::kPageTurbo)->isEnabled());
    }

    void ModeSwitchNeedsTheEscAndTogglesStockAndMod()
    {
        WindowFixture f;
        f.Click(id::kRadioEsc);
        f.Tick();  // the box is there, the ESC not yet
        f.Click(id::kPageModeSelect);
        f.Click(id::kModeSwitch);
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Device Connection Error!"));

        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageModeSelect);
        const int before = f.Bitmap(id::kModeSwitch);
        f.Click(id::kModeSwitch);
        const bool nowStock = f.window->logic().EscMode() == 0;
        QCOMPARE(f.Bitmap(id::kModeSwitch), nowStock ? id::bmp::kModeStock : id::bmp::kModeMod);
        QVERIFY(f.Bitmap(id::kModeSwitch) != before);
        QCOMPARE(f.Control(id::kPageBooster)->isEnabled(), !nowStock);
        QCOMPARE(f.Control(id::kPageTurbo)->isEnabled(), !nowStock);
        f.Click(id::kModeSwitch);
        QCOMPARE(f.Bitmap(id::kModeSwitch), before);
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    }

    void DeviceRadiosStartUncheckedAndChooseThePollMode_data()
    {
        QTest::addColumn<int>("radio");
        QTest::addColumn<int>("mode");
        QTest::newRow("ESC") << 1114 << 1;
        QTest::newRow("ProgramBox") << 1116 << 2;
        QTest::newRow("FixMode") << 1117 << 3;
    }
    void DeviceRadiosStartUncheckedAndChooseThePollMode()
    {
        QFETCH(int, radio);
        QFETCH(int, mode);
        WindowFixture f;
        for (int r : {1114, 1116, 1117})
            QVERIFY(!f.Control<QRadioButton>(r)->isChecked());
        QCOMPARE(f.window->logic().link().pollMode, 0);
        f.Click(radio);
        QVERIFY(f.Control<QRadioButton>(radio)->isChecked());
        QCOMPARE(f.window->logic().link().pollMode, mode);
    }
};

QTEST_MAIN(WindowPagesTest)
#include "WindowPagesTest.moc"
