// Region building and bitmap painting of the skinned controls.
#include <QPainter>
#include <QtTest>

#include "controls/SkinDrawing.h"

namespace kel {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

// A mask from rows of text: '#' is shape (black), '.' is key (white).
QImage MaskFromRows(const QStringList& rows)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, rows[y][x] == u'#' ? kBlack : kWhite);
    return image;
}

QImage Filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

}  // namespace

class SkinDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void BuildMaskRegion_CoversExactlyTheNonKeyPixels_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("expectedArea");
        QTest::newRow("two runs in a row") << QStringList{"##..###."} << 5;
        QTest::newRow("run touching the right edge") << QStringList{"....####", "...#####"} << 9;
        QTest::newRow("single right-most column") << QStringList{".......#", ".......#", "........"} << 2;
        QTest::newRow("runs do not wrap into the next row") << QStringList{"...#", "#..."} << 2;
        QTest::newRow("full block") << QStringList{"####", "####"} << 8;
        QTest::newRow("all white") << QStringList{"....", "....", "...."} << 0;
    }
    void BuildMaskRegion_CoversExactlyTheNonKeyPixels()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, expectedArea);
        const QImage mask = MaskFromRows(rows);
        const QRegion region = BuildMaskRegion(mask, kWhite);
        int area = 0;
        for (const QRect& r : region) {
            QCOMPARE(r.height() >= 1, true);
            area += r.width() * r.height();
        }
        QCOMPARE(area, expectedArea);
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                QVERIFY2(region.contains(QPoint(x, y)) == (rows[y][x] == u'#'),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        QCOMPARE(region.isEmpty(), expectedArea == 0);
    }

    void BuildMaskRegion_ComparesColorOnlyAndExactly()
    {
        QImage mask(4, 1, QImage::Format_ARGB32);
        mask.setPixel(0, 0, qRgba(25, 35, 35, 0));    // key color, any alpha
        mask.setPixel(1, 0, qRgba(25, 35, 36, 255));  // one step off the key
        mask.setPixel(2, 0, qRgba(25, 35, 35, 255));
        mask.setPixel(3, 0, qRgba(0, 0, 0, 255));
        const QRegion region = BuildMaskRegion(mask, qRgb(25, 35, 35));
        QCOMPARE(region, QRegion(1, 0, 1, 1) + QRegion(3, 0, 1, 1));
    }

    void BuildMaskRegion_NullImage_IsEmpty() { QVERIFY(BuildMaskRegion(QImage(), kWhite).isEmpty()); }

    void PaintBitmap_Modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QRgb>("expected");
        // Bitmap 4x2: left half red, right half blue. Target starts green.
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0);
        QTest::newRow("natural: bitmap pixel") << 0 << QSize(8, 4) << QPoint(3, 1) << blue;
        QTest::newRow("natural: cut to rect, not scaled") << 0 << QSize(2, 2) << QPoint(1, 1) << red;
        QTest::newRow("natural: outside the rect untouched") << 0 << QSize(2, 2) << QPoint(3, 1) << green;
        QTest::newRow("stretch: left half red") << 1 << QSize(8, 4) << QPoint(3, 3) << red;
        QTest::newRow("stretch: right half blue") << 1 << QSize(8, 4) << QPoint(4, 0) << blue;
        QTest::newRow("tile: second copy starts red") << 2 << QSize(8, 4) << QPoint(4, 2) << red;
        QTest::newRow("tile: last column cut") << 2 << QSize(6, 4) << QPoint(5, 3) << red;
        QTest::newRow("tile: outside the rect untouched") << 2 << QSize(6, 4) << QPoint(6, 3) << green;
    }
    void PaintBitmap_Modes()
    {
        QFETCH(int, mode);
        QFETCH(QSize, target);
        QFETCH(QPoint, probe);
        QFETCH(QRgb, expected);
        QImage bitmap = Filled(QSize(4, 2), qRgb(255, 0, 0));
        for (int y = 0; y < 2; ++y)
            for (int x = 2; x < 4; ++x)
                bitmap.setPixel(x, y, qRgb(0, 0, 255));
        QImage canvas = Filled(QSize(10, 6), qRgb(0, 255, 0));
        {
            QPainter painter(&canvas);
            PaintBitmap(painter, bitmap, QImage(), QRect(QPoint(0, 0), target), mode);
        }
        QCOMPARE(canvas.pixel(probe), expected);
    }

    void PaintBitmap_WithMask_KeepsOldPixelsWhereMaskIsWhite_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("natural") << 0;
        QTest::newRow("stretch") << 1;
    }
    void PaintBitmap_WithMask_KeepsOldPixelsWhereMaskIsWhite()
    {
        QFETCH(int, mode);
        const QImage bitmap = Filled(QSize(4, 2), qRgb(255, 0, 0));
        const QImage mask = MaskFromRows({"#..#", ".##."});
        QImage canvas = Filled(QSize(8, 4), qRgb(0, 255, 0));
        const int scale = mode == 1 ? 2 : 1;
        {
            QPainter painter(&canvas);
            PaintBitmap(painter, bitmap, mask, QRect(0, 0, 4 * scale, 2 * scale), mode);
        }
        for (int y = 0; y < 2 * scale; ++y)
            for (int x = 0; x < 4 * scale; ++x) {
                const bool shape = mask.pixel(x / scale, y / scale) == kBlack;
                QCOMPARE(canvas.pixel(x, y), shape ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
            }
    }

    void PaintBitmap_TileIgnoresMask()
    {
        const QImage bitmap = Filled(QSize(2, 2), qRgb(255, 0, 0));
        const QImage mask = MaskFromRows({"..", ".."});
        QImage canvas = Filled(QSize(4, 4), qRgb(0, 255, 0));
        {
            QPainter painter(&canvas);
            PaintBitmap(painter, bitmap, mask, canvas.rect(), 2);
        }
        QCOMPARE(canvas.pixel(3, 3), qRgb(255, 0, 0));
    }

    void PaintBitmap_NullBitmap_DrawsNothing()
    {
        QImage canvas = Filled(QSize(4, 4), qRgb(0, 255, 0));
        {
            QPainter painter(&canvas);
            PaintBitmap(painter, QImage(), QImage(), canvas.rect(), 1);
        }
        QCOMPARE(canvas, Filled(QSize(4, 4), qRgb(0, 255, 0)));
    }
};

}  // namespace kel

QTEST_MAIN(kel::SkinDrawingTest)
#include "SkinDrawingTest.moc"
