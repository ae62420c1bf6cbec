// CXProgressCtrl and CprogessDlg: captions, the bar's edge, colors either side
// of it, and the dialog's texts and place.
#include <QLabel>
#include <QtTest>

#include "controls/CXProgressCtrl.h"
#include "controls/CprogessDlg.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel {
namespace {

// Counts pixels of `area` within `tolerance` of `color` in every channel.
int Count(const QImage& image, const QRect& area, QColor color, int tolerance = 40)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c(image.pixel(x, y));
            n += std::abs(c.red() - color.red()) <= tolerance && std::abs(c.green() - color.green()) <= tolerance
                 && std::abs(c.blue() - color.blue()) <= tolerance;
        }
    return n;
}

}  // namespace

class ProgressTest : public QObject {
    Q_OBJECT
private slots:
    void Caption_PercentageOrText()
    {
        struct Case {
            int minimum, maximum, value;
            const char* caption;
        };
        const Case cases[] = {
            {0, 8, 1, "13% "},    {0, 1000, 4, "0% "},  // an eighth rounds up; just below half a percent
            {0, 1000, 5, "1% "},  {1, 99, 50, "50% "},  // half a percent; an offset range
            {1, 99, 99, "100% "}, {0, 100, 150, "100% "}, {5, 5, 5, "0% "},  // clamped above; empty range
        };
        for (const Case& c : cases) {
            CXProgressCtrl bar;
            bar.setRange(c.minimum, c.maximum);
            bar.setValue(c.value);
            QCOMPARE(bar.Caption(), QLatin1String(c.caption));
        }
        CXProgressCtrl bar;
        bar.setValue(40);
        bar.ShowText(QStringLiteral("Updated successfully!"));  // until the owner turns the percentage back on
        QCOMPARE(bar.Caption(), QStringLiteral("Updated successfully!"));
        bar.showPercentage = 1;
        QCOMPARE(bar.Caption(), QStringLiteral("40% "));
    }

    void Paint_BarWidthAndColorsEitherSideOfTheEdge()
    {
        CXProgressCtrl bar;
        bar.resize(350, 20);
        bar.setRange(0, 8);
        bar.setValue(1);
        const QImage image = bar.grab().toImage();
        // Inner width 346; an eighth is 43 pixels from x = 2.
        QCOMPARE(bar.BarRect(), QRect(2, 2, 43, 16));
        QCOMPARE(QColor(image.pixel(44, 3)), bar.barColor);
        QCOMPARE(QColor(image.pixel(45, 3)), bar.fieldColor);
        QCOMPARE(QColor(image.pixel(2, 17)), bar.barColor);
        // Flat sunken border: shadow outside, face inside.
        QCOMPARE(image.pixel(0, 0), bar.palette().color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(1, 1), bar.palette().color(QPalette::Button).rgb());
        QVERIFY(Count(image, QRect(120, 2, 110, 16), bar.captionColor, 60) > 10);  // "13% ", centred
    }

    void Dialog_TextsColorsAndEveryControlOnTheBackground()
    {
        CprogessDlg dialog;
        for (QWidget* control : std::initializer_list<QWidget*>{dialog.Bar(), dialog.Detail(), dialog.Title()})
            QVERIFY(QRect(0, 0, 388, 136).contains(control->geometry()));
        const QImage image = dialog.grab().toImage();
        const QImage background = skin::Image(id::bmp::kProgressDlgBackground);
        for (QPoint p : {QPoint(0, 0), QPoint(387, 0), QPoint(387, 135), QPoint(300, 20), QPoint(2, 133)})
            QCOMPARE(image.pixel(p), background.pixel(p));
        QCOMPARE(dialog.mask(), QRegion(0, 0, 388, 136));

        dialog.SetDetail(QStringLiteral("Brake Frequency Set Failed"));
        dialog.SetPos(45);
        QCOMPARE(dialog.Detail()->text(), QStringLiteral("Brake Frequency Set Failed"));
        QCOMPARE(dialog.Bar()->value(), 45);
        QCOMPARE(dialog.Bar()->Caption(), QStringLiteral("Setting..."));  // not the percentage

        // The title in green on success, red on failure, over the dark background.
        for (bool success : {true, false}) {
            const QString title = success ? QStringLiteral("SUCCESSED") : QStringLiteral("FAILED");
            dialog.SetTitle(title, success);
            QCOMPARE(dialog.Title()->text(), title);
            const QColor color = success ? QColor(0, 255, 0) : QColor(255, 0, 0);
            QVERIFY(Count(dialog.grab().toImage(), dialog.Title()->geometry(), color, 0) > 10);
        }
    }
};

}  // namespace kel

QTEST_MAIN(kel::ProgressTest)
#include "ProgressTest.moc"
