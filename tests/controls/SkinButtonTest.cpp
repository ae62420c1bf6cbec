// CxSkinButton and the bitmap drawing under it: mask regions, draw modes,
// shape, hover and press behaviour, caption painting.
#include <QPainter>
#include <QtTest>

#include "controls/CxSkinButton.h"
#include "controls/SkinDrawing.h"
#include "resources/ResourceIds.h"

namespace kel {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);

QImage Filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A mask from rows of text: '#' is shape (black), '.' is key (white).
QImage MaskFromRows(const QStringList& rows)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, rows[y][x] == u'#' ? kBlack : kWhite);
    return image;
}

// 40 x 20 mask whose shape is the left half only.
QImage LeftHalfMask()
{
    return MaskFromRows(QStringList(20, QString(20, u'#') + QString(20, u'.')));
}

// A 10 x 6 green canvas after PaintBitmap into `target` at the origin.
QImage Painted(const QImage& bitmap, const QImage& mask, QSize target, int mode)
{
    QImage canvas = Filled(QSize(10, 6), kGreen);
    QPainter painter(&canvas);
    PaintBitmap(painter, bitmap, mask, QRect(QPoint(0, 0), target), mode);
    painter.end();
    return canvas;
}

void Mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons held = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
void Press(QWidget* w, QPoint p)
{
    Mouse(w, QEvent::MouseButtonPress, p);
}
void Release(QWidget* w, QPoint p)
{
    Mouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton);
}

}  // namespace

class SkinButtonTest : public QObject {
    Q_OBJECT
private slots:
    void BuildMaskRegion_CoversExactlyTheNonKeyPixels_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("two runs in a row") << QStringList{"##..###."};
        QTest::newRow("run touching the right edge") << QStringList{"....####", "...#####"};
        QTest::newRow("single right-most column") << QStringList{".......#", ".......#", "........"};
        QTest::newRow("runs do not wrap into the next row") << QStringList{"...#", "#..."};
        QTest::newRow("all white") << QStringList{"....", "...."};
    }
    void BuildMaskRegion_CoversExactlyTheNonKeyPixels()
    {
        QFETCH(QStringList, rows);
        const QRegion region = BuildMaskRegion(MaskFromRows(rows), kWhite);
        int area = 0, shape = 0;
        for (const QRect& r : region)
            area += r.width() * r.height();
        for (int y = 0; y < rows.size(); ++y)
            for (int x = 0; x < rows[y].size(); ++x) {
                shape += rows[y][x] == u'#';
                QVERIFY2(region.contains(QPoint(x, y)) == (rows[y][x] == u'#'),
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
            }
        QCOMPARE(area, shape);  // no rectangle reaches past the shape
    }

    void BuildMaskRegion_ComparesColorOnlyAndExactly()
    {
        QImage mask(4, 1, QImage::Format_ARGB32);
        mask.setPixel(0, 0, qRgba(25, 35, 35, 0));    // key color, any alpha
        mask.setPixel(1, 0, qRgba(25, 35, 36, 255));  // one step off the key
        mask.setPixel(2, 0, qRgba(25, 35, 35, 255));
        mask.setPixel(3, 0, qRgba(0, 0, 0, 255));
        QCOMPARE(BuildMaskRegion(mask, qRgb(25, 35, 35)), QRegion(1, 0, 1, 1) + QRegion(3, 0, 1, 1));
        QVERIFY(BuildMaskRegion(QImage(), kWhite).isEmpty());
    }

    void PaintBitmap_Modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QRgb>("expected");
        // Bitmap 4x2: left half red, right half blue. The canvas starts green.
        // clang-format off
        QTest::newRow("natural: bitmap pixel") << 0 << QSize(8, 4) << QPoint(3, 1) << kBlue;
        QTest::newRow("natural: cut to rect, not scaled") << 0 << QSize(2, 2) << QPoint(1, 1) << kRed;
        QTest::newRow("natural: outside the rect untouched") << 0 << QSize(2, 2) << QPoint(3, 1) << kGreen;
        QTest::newRow("stretch: left half red") << 1 << QSize(8, 4) << QPoint(3, 3) << kRed;
        QTest::newRow("stretch: right half blue") << 1 << QSize(8, 4) << QPoint(4, 0) << kBlue;
        QTest::newRow("tile: second copy starts red") << 2 << QSize(8, 4) << QPoint(4, 2) << kRed;
        QTest::newRow("tile: last column cut") << 2 << QSize(6, 4) << QPoint(5, 3) << kRed;
        QTest::newRow("tile: outside the rect untouched") << 2 << QSize(6, 4) << QPoint(6, 3) << kGreen;
        // clang-format on
    }
    void PaintBitmap_Modes()
    {
        QFETCH(int, mode);
        QFETCH(QSize, target);
        QFETCH(QPoint, probe);
        QImage bitmap = Filled(QSize(4, 2), kRed);
        QPainter(&bitmap).fillRect(2, 0, 2, 2, QColor(kBlue));
        QTEST(Painted(bitmap, QImage(), target, mode).pixel(probe), "expected");
    }

    void PaintBitmap_MaskKeepsOldPixelsWhereWhiteExceptWhenTiling()
    {
        const QImage bitmap = Filled(QSize(4, 2), kRed);
        const QImage mask = MaskFromRows({"#..#", ".##."});
        for (int mode : {0, 1}) {
            const int scale = mode + 1;  // stretched to twice the size
            const QImage canvas = Painted(bitmap, mask, QSize(4, 2) * scale, mode);
            for (int y = 0; y < 2 * scale; ++y)
                for (int x = 0; x < 4 * scale; ++x)
                    QCOMPARE(canvas.pixel(x, y), mask.pixel(x / scale, y / scale) == kBlack ? kRed : kGreen);
        }
        QCOMPARE(Painted(bitmap, MaskFromRows({"....", "...."}), QSize(8, 4), 2).pixel(7, 3), kRed);
        QCOMPARE(Painted(QImage(), QImage(), QSize(10, 6), 1), Filled(QSize(10, 6), kGreen));  // null: nothing
    }

    void ApplySkin_OnlyMode0WithAMaskTakesTheMaskSize_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("withMask");
        QTest::addColumn<QSize>("size");
        QTest::newRow("mode 0 with mask") << 0 << true << QSize(40, 20);
        QTest::newRow("mode 0 no mask") << 0 << false << QSize(50, 50);
        QTest::newRow("mode 1 with mask") << 1 << true << QSize(50, 50);
        QTest::newRow("mode 2 with mask") << 2 << true << QSize(50, 50);
    }
    void ApplySkin_OnlyMode0WithAMaskTakesTheMaskSize()
    {
        QFETCH(int, mode);
        QFETCH(bool, withMask);
        QWidget parent;
        CxSkinButton button(&parent);
        button.setGeometry(10, 20, 50, 50);
        button.ApplySkin({Filled(QSize(60, 30), kBlack), {}, {}, {}, withMask ? LeftHalfMask() : QImage()}, short(mode),
                         0, 0);
        QCOMPARE(button.pos(), QPoint(10, 20));
        QTEST(button.size(), "size");
    }

    void ApplySkin_ClampsModeAndMargin()
    {
        CxSkinButton button;
        button.ApplySkin({}, 7, 0, -3);
        QCOMPARE(button.DrawMode(), 2);
        QCOMPARE(button.FocusMargin(), 0);
        button.ApplySkin({}, -1, 1, 4);
        QCOMPARE(button.DrawMode(), 0);
        QCOMPARE(button.FocusMargin(), 4);
        QVERIFY(button.HasBorder());
    }

    void ApplySkin_WithSkinIds_LoadsTheOptionButtonShape()
    {
        CxSkinButton button;
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0,
                         0x10000u | unsigned(id::bmp::kOptionButtonMask), 0, 0, 0);  // high bits ignored
        QCOMPARE(button.size(), QSize(200, 34));
        QVERIFY(button.Shape().contains(QPoint(100, 17)));
        QVERIFY(!button.Shape().contains(QPoint(0, 0)));  // rounded corner
        QVERIFY(button.Shape().contains(QPoint(199, 17)));
    }

    void ShapedButton_TakesClicksOnlyOverItsShape()
    {
        QWidget parent;
        parent.resize(100, 100);
        CxSkinButton button(&parent);
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, LeftHalfMask()}, 0, 0, 0);
        QCOMPARE(parent.childAt(5, 5), &button);
        QCOMPARE(parent.childAt(30, 5), nullptr);

        // An all-white mask: nothing shows and no click is taken.
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, Filled(QSize(40, 20), kWhite)}, 0, 0, 0);
        QVERIFY(button.HasEmptyShape());
        QCOMPARE(parent.childAt(5, 5), nullptr);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Press(&button, QPoint(5, 5));
        Release(&button, QPoint(5, 5));
        QCOMPARE(clicks.count(), 0);
    }

    void SetCaptionColor_ReturnsThePreviousColor()
    {
        CxSkinButton button;
        const QColor initial = button.palette().color(QPalette::ButtonText);
        QCOMPARE(button.SetCaptionColor(QColor(255, 0, 0)), initial);
        QCOMPARE(button.SetCaptionColor(QColor(255, 255, 255)), QColor(255, 0, 0));
        QCOMPARE(button.CaptionColor(), QColor(255, 255, 255));
    }

    void Hover_SetByMovingOver_ClearedByLeaveAndByPress()
    {
        CxSkinButton button;
        button.resize(40, 20);
        QVERIFY(!button.IsHovering());
        Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        QVERIFY(button.IsHovering());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.IsHovering());
        Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        Press(&button, QPoint(5, 5));
        QVERIFY(!button.IsHovering());
        QVERIFY(button.IsPressed());
        Release(&button, QPoint(5, 5));
        QVERIFY(!button.IsPressed());
        Mouse(&button, QEvent::MouseMove, QPoint(6, 5), Qt::NoButton);
        QVERIFY(button.IsHovering());
    }

    void Press_PushedLookFollowsThePointerAcrossTheShapeEdge()
    {
        QWidget parent;
        CxSkinButton button(&parent);
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, LeftHalfMask()}, 0, 0, 0);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Press(&button, QPoint(5, 5));
        QVERIFY(button.isDown());
        Mouse(&button, QEvent::MouseMove, QPoint(30, 5));  // inside the rectangle, outside the shape
        QVERIFY(!button.isDown());
        Mouse(&button, QEvent::MouseMove, QPoint(10, 10));
        QVERIFY(button.isDown());
        Mouse(&button, QEvent::MouseMove, QPoint(60, 10));
        QVERIFY(!button.isDown());
        Release(&button, QPoint(60, 10));
        QCOMPARE(clicks.count(), 0);  // released off the shape: no click
        QVERIFY(!button.IsPressed());
    }

    void DoubleClickActsAsTwoClicksAndFocusLossReleasesAPress()
    {
        CxSkinButton button;
        button.resize(40, 20);
        QSignalSpy presses(&button, &QAbstractButton::pressed);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Press(&button, QPoint(5, 5));
        Release(&button, QPoint(5, 5));
        Mouse(&button, QEvent::MouseButtonDblClick, QPoint(5, 5));
        QVERIFY(button.IsPressed());
        Release(&button, QPoint(5, 5));
        QCOMPARE(presses.count(), 2);
        QCOMPARE(clicks.count(), 2);

        Press(&button, QPoint(5, 5));
        QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(&button, &focusOut);
        QVERIFY(!button.IsPressed());
        QVERIFY(!button.isDown());
    }

    void Paint_ShowsTheLookOfEachState_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("withHoverLook");
        QTest::addColumn<QRgb>("expected");
        QTest::newRow("normal") << "normal" << true << qRgb(10, 20, 30);
        QTest::newRow("hover") << "hover" << true << kGreen;
        QTest::newRow("hover without hover look") << "hover" << false << qRgb(10, 20, 30);
        QTest::newRow("pressed") << "pressed" << true << kRed;
        QTest::newRow("disabled") << "disabled" << true << kBlue;
    }
    void Paint_ShowsTheLookOfEachState()
    {
        QFETCH(QString, state);
        QFETCH(bool, withHoverLook);
        const QSize size(40, 20);
        CxSkinButton button;
        button.resize(size);
        button.ApplySkin({Filled(size, qRgb(10, 20, 30)),
                          Filled(size, kRed),
                          withHoverLook ? Filled(size, kGreen) : QImage(),
                          Filled(size, kBlue),
                          {}},
                         1, 0, 0);
        if (state == "hover")
            Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        button.setDown(state == "pressed");
        button.setEnabled(state != "disabled");
        QTEST(button.grab().toImage().pixel(1, 1) | 0xFF000000u, "expected");
    }

    void Paint_DisabledWithoutDisabledLook_UsesTheNormalBitmapAndEmbossedText()
    {
        CxSkinButton button;
        button.resize(120, 30);
        button.ApplySkin({Filled(QSize(120, 30), qRgb(10, 20, 30)), {}, {}, {}, {}}, 1, 0, 0);
        button.setText(QStringLiteral("MMMM"));
        button.setEnabled(false);
        const QImage image = button.grab().toImage();
        QCOMPARE(image.pixel(1, 1) | 0xFF000000u, qRgb(10, 20, 30));
        const QRgb highlight = button.palette().color(QPalette::Light).rgb();
        bool embossed = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                embossed |= (image.pixel(x, y) | 0xFF000000u) == highlight;
        QVERIFY(embossed);
    }

    void Paint_CaptionStartsWhereTheLayoutFormulaSays()
    {
        CxSkinButton button;
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0, id::bmp::kOptionButtonMask, 0, 0, 0);
        button.setText(QStringLiteral("Level 7*"));
        button.SetCaptionColor(QColor(255, 0, 0));
        const QImage image = button.grab().toImage();
        const QFontMetrics metrics(CxSkinButton::CaptionFont());
        const QPoint origin = CxSkinButton::CaptionOrigin(button.text(), button.size(), CxSkinButton::CaptionFont());
        QCOMPARE(origin.x(), (200 - 8 * metrics.averageCharWidth()) / 2 - 5);
        int left = image.width(), top = image.height();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c(image.pixel(x, y));
                if (c.red() > 200 && c.green() < 90 && c.blue() < 90) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
            }
        QVERIFY2(left >= origin.x() && left <= origin.x() + 3, qPrintable(QString::number(left)));
        QVERIFY2(top >= origin.y() && top < origin.y() + metrics.height(), qPrintable(QString::number(top)));
    }
};

}  // namespace kel

QTEST_MAIN(kel::SkinButtonTest)
#include "SkinButtonTest.moc"
