// CxSkinButton: skinning, shape, hover and press behaviour, caption painting.
#include <QtTest>

#include "controls/CxSkinButton.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

QImage Filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// 40 x 20 mask whose shape is the left half only.
QImage LeftHalfMask()
{
    QImage mask = Filled(QSize(40, 20), kWhite);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            mask.setPixel(x, y, kBlack);
    return mask;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons held,
               Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void Press(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton);
}
void Release(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton);
}
void DragTo(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseMove, p, Qt::LeftButton, Qt::NoButton);
}
void HoverAt(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
}

}  // namespace

class SkinButtonTest : public QObject {
    Q_OBJECT
private slots:
    void ApplySkin_DrawModeZeroWithMask_TakesTheMaskSize()
    {
        QWidget parent;
        CxSkinButton button(&parent);
        button.setGeometry(10, 20, 50, 50);
        button.ApplySkin({Filled(QSize(60, 30), kBlack), {}, {}, {}, LeftHalfMask()}, 0, 0, 0);
        QCOMPARE(button.geometry(), QRect(10, 20, 40, 20));
    }

    void ApplySkin_WithoutMaskOrInOtherModes_KeepsItsSize_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("withMask");
        QTest::newRow("mode 0 no mask") << 0 << false;
        QTest::newRow("mode 1 with mask") << 1 << true;
        QTest::newRow("mode 2 with mask") << 2 << true;
    }
    void ApplySkin_WithoutMaskOrInOtherModes_KeepsItsSize()
    {
        QFETCH(int, mode);
        QFETCH(bool, withMask);
        CxSkinButton button;
        button.resize(50, 50);
        button.ApplySkin({Filled(QSize(60, 30), kBlack), {}, {}, {}, withMask ? LeftHalfMask() : QImage()}, short(mode),
                         0, 0);
        QCOMPARE(button.size(), QSize(50, 50));
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

    void AllWhiteMask_ShowsNothingAndTakesNoClicks()
    {
        QWidget parent;
        parent.resize(100, 100);
        CxSkinButton button(&parent);
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, Filled(QSize(40, 20), kWhite)}, 0, 0, 0);
        QVERIFY(button.HasEmptyShape());
        QCOMPARE(parent.childAt(5, 5), nullptr);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Press(&button, QPoint(5, 5));
        Release(&button, QPoint(5, 5));
        QCOMPARE(clicks.count(), 0);
    }

    void ShapedButton_TakesClicksOnlyOverItsShape()
    {
        QWidget parent;
        parent.resize(100, 100);
        CxSkinButton button(&parent);
        button.ApplySkin({Filled(QSize(40, 20), kBlack), {}, {}, {}, LeftHalfMask()}, 0, 0, 0);
        QCOMPARE(parent.childAt(5, 5), &button);
        QCOMPARE(parent.childAt(30, 5), nullptr);
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
        HoverAt(&button, QPoint(5, 5));
        QVERIFY(button.IsHovering());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.IsHovering());
        HoverAt(&button, QPoint(5, 5));
        Press(&button, QPoint(5, 5));
        QVERIFY(!button.IsHovering());
        QVERIFY(button.IsPressed());
        Release(&button, QPoint(5, 5));
        QVERIFY(!button.IsPressed());
        HoverAt(&button, QPoint(6, 5));
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
        DragTo(&button, QPoint(30, 5));  // inside the rectangle, outside the shape
        QVERIFY(!button.isDown());
        DragTo(&button, QPoint(10, 10));
        QVERIFY(button.isDown());
        DragTo(&button, QPoint(60, 10));
        QVERIFY(!button.isDown());
        Release(&button, QPoint(60, 10));
        QCOMPARE(clicks.count(), 0);  // released off the shape: no click
        QVERIFY(!button.IsPressed());
    }

    void DoubleClick_ActsAsTwoPressesAndTwoReleases()
    {
        CxSkinButton button;
        button.resize(40, 20);
        QSignalSpy presses(&button, &QAbstractButton::pressed);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        Press(&button, QPoint(5, 5));
        Release(&button, QPoint(5, 5));
        SendMouse(&button, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton);
        QVERIFY(button.IsPressed());
        Release(&button, QPoint(5, 5));
        QCOMPARE(presses.count(), 2);
        QCOMPARE(clicks.count(), 2);
    }

    void FocusLoss_WhilePressed_ReleasesThePress()
    {
        CxSkinButton button;
        button.resize(40, 20);
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
        const QRgb normal = qRgb(10, 20, 30), pressed = qRgb(200, 0, 0), hover = qRgb(0, 200, 0),
                   disabled = qRgb(0, 0, 200);
        QTest::newRow("normal") << "normal" << true << normal;
        QTest::newRow("hover") << "hover" << true << hover;
        QTest::newRow("hover without hover look") << "hover" << false << normal;
        QTest::newRow("pressed") << "pressed" << true << pressed;
        QTest::newRow("disabled") << "disabled" << true << disabled;
    }
    void Paint_ShowsTheLookOfEachState()
    {
        QFETCH(QString, state);
        QFETCH(bool, withHoverLook);
        QFETCH(QRgb, expected);
        CxSkinButton button;
        button.resize(40, 20);
        button.ApplySkin({Filled(QSize(40, 20), qRgb(10, 20, 30)),
                          Filled(QSize(40, 20), qRgb(200, 0, 0)),
                          withHoverLook ? Filled(QSize(40, 20), qRgb(0, 200, 0)) : QImage(),
                          Filled(QSize(40, 20), qRgb(0, 0, 200)),
                          {}},
                         1, 0, 0);
        if (state == "hover")
            HoverAt(&button, QPoint(5, 5));
        else if (state == "pressed")
            button.setDown(true);
        else if (state == "disabled")
            button.setEnabled(false);
        QCOMPARE(button.grab().toImage().pixel(1, 1) & 0xFFFFFF, expected & 0xFFFFFF);
    }

    void Paint_DisabledWithoutDisabledLook_UsesTheNormalBitmapAndEmbossedText()
    {
        CxSkinButton button;
        button.resize(120, 30);
        button.ApplySkin({Filled(QSize(120, 30), qRgb(10, 20, 30)), {}, {}, {}, {}}, 1, 0, 0);
        button.setText(QStringLiteral("MMMM"));
        button.setEnabled(false);
        const QImage image = button.grab().toImage();
        QCOMPARE(image.pixel(1, 1) & 0xFFFFFF, qRgb(10, 20, 30) & 0xFFFFFF);
        const QColor highlight = button.palette().color(QPalette::Light);
        bool embossed = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                embossed |= QColor(image.pixel(x, y)) == highlight;
        QVERIFY(embossed);
    }

    void Paint_CaptionStartsWhereTheLayoutFormulaSays()
    {
        CxSkinButton button;
        button.ApplySkin(id::bmp::kOptionButton, id::bmp::kOptionButtonDown, 0, 0, id::bmp::kOptionButtonMask, 0, 0, 0);
        button.setText(QStringLiteral("Level 7*"));
        button.SetCaptionColor(QColor(255, 0, 0));
        const QImage image = button.grab().toImage();
        const QPoint origin = CxSkinButton::CaptionOrigin(button.text(), button.size(), CxSkinButton::CaptionFont());
        QCOMPARE(origin.x(), (200 - 8 * QFontMetrics(CxSkinButton::CaptionFont()).averageCharWidth()) / 2 - 5);
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
        QVERIFY2(top >= origin.y() && top < origin.y() + QFontMetrics(CxSkinButton::CaptionFont()).height(),
                 qPrintable(QString::number(top)));
    }
};

}  // namespace kel

QTEST_MAIN(kel::SkinButtonTest)
#include "SkinButtonTest.moc"
