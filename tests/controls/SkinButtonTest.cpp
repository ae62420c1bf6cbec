// CxSkinButton and the bitmap drawing under it: mask regions, draw modes,
// shape, hover and press behaviour, caption painting.
#include <QPainter>
#include <QtTest>

#include "controls/CxSkinButton.h"
#include "controls/SkinDrawing.h"
#include "resources/ResourceIds.h"

namespace kel {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kGrey = qRgb(10, 20, 30);
constexpr QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255);

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

// A left-button press, release or drag (or, with no button held, a hover) at `pos`.
void Mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons held = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class SkinButtonTest : public QObject {
    Q_OBJECT
private slots:
    void BuildMaskRegion_CoversExactlyTheNonKeyPixels()
    {
        const QStringList masks[] = {{"##..###."}, {"....####", "...#####"}, {"...#", "#..."}, {"....", "...."}};
        for (const QStringList& rows : masks) {
            const QRegion region = BuildMaskRegion(MaskFromRows(rows), kWhite);
            int area = 0, shape = 0;
            for (const QRect& r : region)
                area += r.width() * r.height();
            for (int y = 0; y < rows.size(); ++y)
                for (int x = 0; x < rows[y].size(); ++x) {
                    shape += rows[y][x] == u'#';
                    QVERIFY2(region.contains(QPoint(x, y)) == (rows[y][x] == u'#'), qPrintable(rows.join('/')));
                }
            QCOMPARE(area, shape);  // no rectangle reaches past the shape
        }
        // Only the color counts, and exactly; a null image has no region.
        QImage mask(4, 1, QImage::Format_ARGB32);
        for (int x = 0; x < 4; ++x)
            mask.setPixel(x, 0, QList<QRgb>{qRgba(25, 35, 35, 0), qRgb(25, 35, 36), qRgb(25, 35, 35), kBlack}[x]);
        QCOMPARE(BuildMaskRegion(mask, qRgb(25, 35, 35)), QRegion(1, 0, 1, 1) + QRegion(3, 0, 1, 1));
        QVERIFY(BuildMaskRegion(QImage(), kWhite).isEmpty());
    }

    void PaintBitmap_Modes()
    {
        struct Case {
            int mode;
            QSize target;
            QPoint probe;
            QRgb expected;
        };
        // Bitmap 4x2: left half red, right half blue. The canvas starts green.
        const Case cases[] = {
            {0, {8, 4}, {3, 1}, kBlue},  {0, {2, 2}, {1, 1}, kRed},    // natural size, cut to the rectangle
            {0, {2, 2}, {3, 1}, kGreen}, {1, {8, 4}, {3, 3}, kRed},    // stretched
            {1, {8, 4}, {4, 0}, kBlue},  {2, {8, 4}, {4, 2}, kRed},    // tiled: the second copy starts red
            {2, {6, 4}, {5, 3}, kRed},   {2, {6, 4}, {6, 3}, kGreen},  // the last column cut
        };
        QImage bitmap = Filled(QSize(4, 2), kRed);
        QPainter(&bitmap).fillRect(2, 0, 2, 2, QColor(kBlue));
        for (const Case& c : cases)
            QCOMPARE(Painted(bitmap, QImage(), c.target, c.mode).pixel(c.probe), c.expected);

        // A mask keeps the old pixels where it is white (scaled like the bitmap), except when tiling.
        const QImage red = Filled(QSize(4, 2), kRed), mask = MaskFromRows({"#..#", ".##."});
        for (int mode : {0, 1}) {
            const QImage canvas = Painted(red, mask, QSize(4, 2) * (mode + 1), mode);
            for (int y = 0; y < 2 * (mode + 1); ++y)
                for (int x = 0; x < 4 * (mode + 1); ++x)
                    QCOMPARE(canvas.pixel(x, y), mask.pixel(x / (mode + 1), y / (mode + 1)) == kBlack ? kRed : kGreen);
        }
        QCOMPARE(Painted(red, MaskFromRows({"....", "...."}), QSize(8, 4), 2).pixel(7, 3), kRed);
        QCOMPARE(Painted(QImage(), QImage(), QSize(10, 6), 1), Filled(QSize(10, 6), kGreen));  // null: nothing
    }

    void ApplySkin_SizeShapeModeAndMargin()
    {
        // Only draw mode 0 with a mask takes the mask's size.
        for (auto [mode, withMask] : {std::pair{0, true}, {0, false}, {1, true}, {2, true}}) {
            QWidget parent;
            CxSkinButton button(&parent);
            button.setGeometry(10, 20, 50, 50);
            button.ApplySkin({Filled(QSize(60, 30), kBlack), {}, {}, {}, withMask ? LeftHalfMask() : QImage()},
                             short(mode), 0, 0);
            QCOMPARE(button.geometry(),
                     QRect(10, 20, mode == 0 && withMask ? 40 : 50, mode == 0 && withMask ? 20 : 50));
        }
        CxSkinButton button;
        button.ApplySkin({}, 7, 0, -3);
        QCOMPARE(button.DrawMode(), 2);
        QCOMPARE(button.FocusMargin(), 0);
        button.ApplySkin({}, -1, 1, 4);
        QCOMPARE(button.DrawMode(), 0);
        QCOMPARE(button.FocusMargin(), 4);
        QVERIFY(button.HasBorder());
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0,
                         0x10000u | unsigned(id::bmp::kOptionButtonMask), 0, 0, 0);  // high bits ignored
        QCOMPARE(button.size(), QSize(200, 34));
        QVERIFY(button.Shape().contains(QPoint(100, 17)) && button.Shape().contains(QPoint(199, 17)));
        QVERIFY(!button.Shape().contains(QPoint(0, 0)));  // rounded corner
    }

    void ShapedButton_TakesClicksOnlyOverItsShapeAndPressFollowsThePointer()
    {
        QWidget parent;
        parent.resize(100, 100);
        CxSkinButton button(&parent);
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, LeftHalfMask()}, 0, 0, 0);
        QCOMPARE(parent.childAt(5, 5), &button);
        QCOMPARE(parent.childAt(30, 5), nullptr);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Mouse(&button, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(button.isDown());
        Mouse(&button, QEvent::MouseMove, QPoint(30, 5));  // inside the rectangle, outside the shape
        QVERIFY(!button.isDown());
        Mouse(&button, QEvent::MouseMove, QPoint(10, 10));
        QVERIFY(button.isDown());
        Mouse(&button, QEvent::MouseMove, QPoint(60, 10));
        QVERIFY(!button.isDown());
        Mouse(&button, QEvent::MouseButtonRelease, QPoint(60, 10), Qt::NoButton);
        QVERIFY(!button.IsPressed());

        // An all-white mask: nothing shows and no click is taken.
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, Filled(QSize(40, 20), kWhite)}, 0, 0, 0);
        QVERIFY(button.HasEmptyShape());
        QCOMPARE(parent.childAt(5, 5), nullptr);
        Mouse(&button, QEvent::MouseButtonPress, QPoint(5, 5));
        Mouse(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
        QCOMPARE(clicks.count(), 0);
    }

    void HoverPressDoubleClickAndFocusLoss()
    {
        CxSkinButton button;
        button.resize(40, 20);
        QSignalSpy presses(&button, &QAbstractButton::pressed);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        QVERIFY(button.IsHovering());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.IsHovering());
        Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        Mouse(&button, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(!button.IsHovering() && button.IsPressed());
        Mouse(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
        QVERIFY(!button.IsPressed());
        Mouse(&button, QEvent::MouseMove, QPoint(6, 5), Qt::NoButton);
        QVERIFY(button.IsHovering());
        // A double click is a second press and release.
        Mouse(&button, QEvent::MouseButtonDblClick, QPoint(5, 5));
        QVERIFY(button.IsPressed());
        Mouse(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
        QCOMPARE(presses.count(), 2);
        QCOMPARE(clicks.count(), 2);
        // Losing the focus releases a press.
        Mouse(&button, QEvent::MouseButtonPress, QPoint(5, 5));
        QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(&button, &focusOut);
        QVERIFY(!button.IsPressed() && !button.isDown());
    }

    void Paint_ShowsTheLookOfEachState()
    {
        const QSize size(40, 20);
        for (auto [state, withHoverLook, expected] : {std::tuple{"normal", true, kGrey},
                                                      {"hover", true, kGreen},
                                                      {"hover", false, kGrey},
                                                      {"pressed", true, kRed},
                                                      {"disabled", true, kBlue}}) {
            CxSkinButton button;
            button.resize(size);
            button.ApplySkin({Filled(size, kGrey),
                              Filled(size, kRed),
                              withHoverLook ? Filled(size, kGreen) : QImage(),
                              Filled(size, kBlue),
                              {}},
                             1, 0, 0);
            if (state == QLatin1String("hover"))
                Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
            button.setDown(state == QLatin1String("pressed"));
            button.setEnabled(state != QLatin1String("disabled"));
            QCOMPARE(button.grab().toImage().pixel(1, 1) | 0xFF000000u, expected);
        }
        // No disabled look: the normal bitmap, and the caption embossed.
        CxSkinButton button;
        button.resize(120, 30);
        button.ApplySkin({Filled(QSize(120, 30), kGrey), {}, {}, {}, {}}, 1, 0, 0);
        button.setText(QStringLiteral("MMMM"));
        button.setEnabled(false);
        const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.pixel(1, 1), kGrey);
        const QRgb light = button.palette().color(QPalette::Light).rgb();
        bool embossed = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                embossed |= image.pixel(x, y) == light;
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
