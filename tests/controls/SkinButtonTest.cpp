// CxSkinButton and the bitmap drawing under it: mask regions, draw modes,
// shape, hover and press behaviour.
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
    // The window draws its buttons at natural size (mode 0); stretching (1) is what the looks below use.
    void PaintBitmap_NaturalSizeCutToTheRectangleAndMasked()
    {
        QImage bitmap = Filled(QSize(4, 2), kRed);  // left half red, right half blue; the canvas starts green
        QPainter(&bitmap).fillRect(2, 0, 2, 2, QColor(kBlue));
        for (auto [target, probe, expected] : {std::tuple{QSize(8, 4), QPoint(3, 1), kBlue},
                                               {QSize(2, 2), QPoint(1, 1), kRed},
                                               {QSize(2, 2), QPoint(3, 1), kGreen}})
            QCOMPARE(Painted(bitmap, QImage(), target, 0).pixel(probe), expected);
        // A mask keeps the old pixels where it is white.
        const QImage mask = MaskFromRows({"#..#", ".##."});
        const QImage canvas = Painted(Filled(QSize(4, 2), kRed), mask, QSize(4, 2), 0);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(canvas.pixel(x, y), mask.pixel(x, y) == kBlack ? kRed : kGreen);
        QCOMPARE(Painted(QImage(), QImage(), QSize(10, 6), 1), Filled(QSize(10, 6), kGreen));  // null: nothing
    }

    void ApplySkin_SizeAndShape()
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
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0,
                         0x10000u | unsigned(id::bmp::kOptionButtonMask), 0, 0, 0);  // high bits ignored
        QCOMPARE(button.size(), QSize(200, 34));
        QVERIFY(button.Shape().contains(QPoint(100, 17)) && button.Shape().contains(QPoint(199, 17)));
        QVERIFY(!button.Shape().contains(QPoint(0, 0)));  // rounded corner
    }

    void MouseTakesOnlyTheShapeAndPressFollowsThePointer()
    {
        QWidget parent;
        parent.resize(100, 100);
        CxSkinButton button(&parent);
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, LeftHalfMask()}, 0, 0, 0);
        QCOMPARE(parent.childAt(5, 5), &button);
        QCOMPARE(parent.childAt(30, 5), nullptr);
        QSignalSpy presses(&button, &QAbstractButton::pressed);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Mouse(&button, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        QVERIFY(button.IsHovering());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.IsHovering());
        Mouse(&button, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(button.isDown() && button.IsPressed());
        // Off the shape (still inside the rectangle) the press lets go; back on, it holds again.
        for (auto [x, down] : {std::pair{30, false}, {10, true}, {60, false}}) {
            Mouse(&button, QEvent::MouseMove, QPoint(x, 10));
            QCOMPARE(button.isDown(), down);
        }
        Mouse(&button, QEvent::MouseButtonRelease, QPoint(60, 10), Qt::NoButton);
        QVERIFY(!button.IsPressed());
        QCOMPARE(clicks.count(), 0);
        // A double click is a second press and release.
        presses.clear();
        Mouse(&button, QEvent::MouseButtonPress, QPoint(5, 5));
        Mouse(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
        Mouse(&button, QEvent::MouseButtonDblClick, QPoint(5, 5));
        QVERIFY(button.IsPressed() && !button.IsHovering());
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
    }
};

}  // namespace kel

QTEST_MAIN(kel::SkinButtonTest)
#include "SkinButtonTest.moc"
