// CXProgressCtrl: caption text, bar geometry and the pixels either side of the bar edge.
#include <QtTest>

#include "controls/CXProgressCtrl.h"

namespace kel {
namespace {

bool Near(QRgb pixel, QColor colour, int tolerance = 40)
{
    const QColor c(pixel);
    return std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
           std::abs(c.blue() - colour.blue()) <= tolerance;
}

// Counts pixels of `area` close to `colour`.
int Count(const QImage& image, const QRect& area, QColor colour, int tolerance = 40)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Near(image.pixel(x, y), colour, tolerance) ? 1 : 0;
    return n;
}

} // namespace

class ProgressCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void Construction_Defaults()
    {
        CXProgressCtrl bar;
        QCOMPARE(bar.barColor, QColor(128, 128, 255));
        QCOMPARE(bar.fieldColor, QColor(235, 235, 235));
        QCOMPARE(bar.captionColor, QColor(0, 0, 0));
        QCOMPARE(bar.captionOnBarColor, QColor(255, 255, 255));
        QCOMPARE(bar.showPercentage, 1);
        QCOMPARE(bar.minimum(), 0);
        QCOMPARE(bar.maximum(), 100);
        QCOMPARE(bar.value(), 0);
        QVERIFY(bar.testAttribute(Qt::WA_OpaquePaintEvent));
    }

    void Caption_Percentage_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("caption");
        QTest::newRow("lower end") << 0 << 100 << 0 << "0% ";
        QTest::newRow("an eighth rounds up") << 0 << 8 << 1 << "13% ";
        QTest::newRow("just below half a percent") << 0 << 1000 << 4 << "0% ";
        QTest::newRow("half a percent") << 0 << 1000 << 5 << "1% ";
        QTest::newRow("offset range") << 1 << 99 << 50 << "50% ";
        QTest::newRow("upper end") << 1 << 99 << 99 << "100% ";
        QTest::newRow("clamped above") << 0 << 100 << 150 << "100% ";
        QTest::newRow("empty range") << 5 << 5 << 5 << "0% ";
    }
    void Caption_Percentage()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(QString, caption);
        CXProgressCtrl bar;
        bar.setRange(minimum, maximum);
        bar.setValue(value);
        QCOMPARE(bar.Caption(), caption);
    }

    void ShowText_ReplacesThePercentageUntilTheOwnerTurnsItBack()
    {
        CXProgressCtrl bar;
        bar.setValue(40);
        bar.ShowText(QStringLiteral("Updated successfully!"));
        QCOMPARE(bar.showPercentage, 0);
        QCOMPARE(bar.Caption(), QStringLiteral("Updated successfully!"));
        bar.showPercentage = 1;
        QCOMPARE(bar.Caption(), QStringLiteral("40% "));
    }

    void Paint_BarWidthAndColoursEitherSideOfTheEdge()
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
        // The caption "13% " sits centred over the field, in the caption colour.
        QVERIFY(Count(image, QRect(120, 2, 110, 16), bar.captionColor, 60) > 10);
    }

    void Paint_CaptionIsCaptionColourOverFieldAndOtherColourOverBar()
    {
        CXProgressCtrl bar;
        bar.resize(200, 24);
        bar.barColor = QColor(0, 160, 0);
        bar.fieldColor = QColor(0, 0, 160);
        bar.captionColor = QColor(255, 0, 0);
        bar.captionOnBarColor = QColor(255, 255, 0);
        bar.setValue(50);
        bar.ShowText(QStringLiteral("MMMMMMMMMMMMMMMM"));  // wider than half the bar on both sides
        const QImage image = bar.grab().toImage();
        const QRect onBar = bar.BarRect();
        const QRect overField(onBar.right() + 1, onBar.top(), bar.InnerRect().right() - onBar.right(), onBar.height());
        QVERIFY(Count(image, onBar, bar.captionOnBarColor) > 10);
        QCOMPARE(Count(image, onBar, bar.captionColor), 0);
        QVERIFY(Count(image, overField, bar.captionColor) > 10);
        QCOMPARE(Count(image, overField, bar.captionOnBarColor), 0);
    }

    void Paint_EndsOfTheRange_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << 0;
        QTest::newRow("full") << 100;
    }
    void Paint_EndsOfTheRange()
    {
        QFETCH(int, value);
        CXProgressCtrl bar;
        bar.resize(200, 24);
        bar.setValue(value);
        const QImage image = bar.grab().toImage();
        const QRect inner = bar.InnerRect();
        const bool full = value == 100;
        QCOMPARE(bar.BarRect().width(), full ? inner.width() : 0);
        QCOMPARE(Count(image, inner, bar.barColor, 0) > inner.width() * inner.height() / 2, full);
        // Empty: the whole caption dark. Full: the whole caption white, no dark pixels.
        QCOMPARE(Count(image, inner, bar.captionColor, 60) > 0, !full);
        if (full)
            QVERIFY(Count(image, inner, bar.captionOnBarColor, 30) > 10);
        else
            QVERIFY(Count(image, inner, bar.fieldColor, 0) > inner.width() * inner.height() / 2);
    }

    void Paint_EmptyText_BarGrowsWithoutCaption()
    {
        CXProgressCtrl bar;
        bar.resize(200, 24);
        bar.ShowText(QString());
        bar.setValue(30);
        const QImage image = bar.grab().toImage();
        const QRect inner = bar.InnerRect();
        const int barPixels = Count(image, inner, bar.barColor, 0);
        const int fieldPixels = Count(image, inner, bar.fieldColor, 0);
        QCOMPARE(barPixels, bar.BarRect().width() * inner.height());
        QCOMPARE(barPixels + fieldPixels, inner.width() * inner.height());
    }

    void Paint_CaptionWiderThanTheControl_IsCutAtBothEdges()
    {
        CXProgressCtrl bar;
        bar.resize(40, 20);
        bar.ShowText(QStringLiteral("A caption much wider than the bar"));
        const QImage image = bar.grab().toImage();
        QVERIFY(Count(image, QRect(2, 2, 4, 16), bar.captionColor, 80) > 0);
        QVERIFY(Count(image, QRect(34, 2, 4, 16), bar.captionColor, 80) > 0);
    }
};

} // namespace kel

QTEST_MAIN(kel::ProgressCtrlTest)
#include "ProgressCtrlTest.moc"
