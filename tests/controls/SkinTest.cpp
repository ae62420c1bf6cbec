// The skin bitmaps: identifiers, sizes, the window outline, and the parts of
// the pictures that other controls rely on.
#include <QtTest>

#include "controls/SkinDrawing.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"
#include "resources/SkinPainters.h"

namespace kel {
namespace {

namespace b = kel::id::bmp;

int Luminance(QRgb p)
{
    return (299 * qRed(p) + 587 * qGreen(p) + 114 * qBlue(p)) / 1000;
}

bool IsBlackOrWhite(QRgb p)
{
    return (p & 0xFFFFFF) == 0 || (p & 0xFFFFFF) == 0xFFFFFF;
}

int CountDark(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Luminance(image.pixel(x, y)) < 90 ? 1 : 0;
    return n;
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT
private slots:
    void EveryBitmap_HasItsSize_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QSize>("size");
        QTest::newRow("background") << b::kBackground << QSize(667, 682);
        QTest::newRow("home picture") << b::kHomePicture << QSize(603, 400);
        QTest::newRow("popup") << b::kPopupBackground << QSize(190, 160);
        QTest::newRow("progress dialog") << b::kProgressDlgBackground << QSize(388, 136);
        for (int id : {b::kLampOn, b::kLampOff})
            QTest::addRow("lamp %d", id) << id << QSize(32, 32);
        for (int id : {b::kApplyUp, b::kApplyDown, b::kDefaultsUp, b::kDefaultsDown})
            QTest::addRow("apply/defaults %d", id) << id << QSize(120, 70);
        for (int id : {b::kUpdateUp, b::kUpdateDown})
            QTest::addRow("update %d", id) << id << QSize(125, 35);
        for (int id : {b::kCloseUp, b::kCloseDown, b::kMinimiseUp, b::kMinimiseDown})
            QTest::addRow("frame button %d", id) << id << QSize(27, 25);
        for (int id : {b::kOptionButton, b::kOptionButtonDown, b::kOptionButtonMask})
            QTest::addRow("option %d", id) << id << QSize(200, 34);
        for (int id : {b::kProfileButton, b::kProfileButtonDown, b::kProfileButtonMask})
            QTest::addRow("profile %d", id) << id << QSize(110, 34);
        for (int id : {b::kPageBrakeUp, b::kPageBrakeDown, b::kPageHomeUp, b::kPageHomeDown, b::kPageThrottleUp,
                       b::kPageThrottleDown, b::kPageBoosterUp, b::kPageBoosterDown, b::kPageTurboUp,
                       b::kPageTurboDown, b::kPageGeneralUp, b::kPageGeneralDown, b::kPageProfileUp,
                       b::kPageProfileDown, b::kPageModeUp, b::kPageModeDown, b::kModeStock, b::kModeMod})
            QTest::addRow("page/switch %d", id) << id << QSize(140, 46);
        QTest::newRow("icon") << b::kIcon << QSize(32, 32);
    }
    void EveryBitmap_HasItsSize()
    {
        QFETCH(int, id);
        QFETCH(QSize, size);
        QCOMPARE(skin::Image(id).size(), size);
        QCOMPARE(skin::Bitmap(id).size(), size);
        QVERIFY(std::find(skin::BitmapIds().begin(), skin::BitmapIds().end(), id) != skin::BitmapIds().end());
    }

    void UnknownIds_GiveNullBitmaps()
    {
        for (int id : {0, -1, 128, 132, 206, 224, 232, 0x10000 + b::kBackground}) {
            QVERIFY(skin::Image(id).isNull());
            QVERIFY(skin::Bitmap(id).isNull());
        }
        QCOMPARE(int(skin::BitmapIds().size()), 41);
    }

    void Painting_IsDeterministic()
    {
        QCOMPARE(skin::paint::Background(), skin::paint::Background());
        QCOMPARE(skin::paint::OptionButton(false), skin::paint::OptionButton(false));
    }

    void Background_KeyColourOnlyInTheRoundedBottomCorners()
    {
        const QImage face = skin::Image(b::kBackground);
        const QRegion window = BuildMaskRegion(face, skin::kKeyColour);
        int area = 0;
        for (const QRect& r : window)
            area += r.width() * r.height();
        QCOMPARE(area, 667 * 682 - 14);
        for (QPoint corner : {QPoint(0, 681), QPoint(666, 681), QPoint(2, 681), QPoint(0, 678), QPoint(666, 678)})
            QVERIFY(!window.contains(corner));
        for (QPoint inside : {QPoint(0, 0), QPoint(666, 0), QPoint(3, 681), QPoint(1, 679), QPoint(0, 677)})
            QVERIFY(window.contains(inside));
    }

    void Background_PageAreaIsLightAndCalmForBlackLabels()
    {
        const QImage face = skin::Image(b::kBackground);
        // Where the rows, options and page controls go: flat and light.
        const QRect rows(20, 180, 630, 336);
        const QRgb panel = face.pixel(rows.topLeft());
        QVERIFY(Luminance(panel) >= 220);
        for (int y = rows.top(); y <= rows.bottom(); ++y)
            for (int x = rows.left(); x <= rows.right(); ++x)
                QCOMPARE(face.pixel(x, y), panel);
    }

    void Background_CarriesTheDeviceAndLampCaptions()
    {
        const QImage face = skin::Image(b::kBackground);
        QVERIFY(CountDark(face, QRect(390, 526, 250, 16)) > 100);  // "Please Select Device and Connect"
        for (QPoint radio : {layout::kRadioEsc, layout::kRadioBox, layout::kRadioFix}) {
            QVERIFY(CountDark(face, QRect(radio.x() - 6, 545, 24, 15)) > 10);
            QCOMPARE(CountDark(face, QRect(radio, QSize(12, 12))), 0);  // the radio itself is free
        }
        for (const QRect& lamp : {layout::kLampBox, layout::kLampEsc, layout::kLampUsb})
            QVERIFY(CountDark(face, QRect(lamp.left() - 90, lamp.top() + 8, 85, 16)) > 40);
    }

    void Buttons_BlendIntoTheFaceAtTheirCorners()
    {
        const QImage face = skin::Image(b::kBackground);
        const struct { int id; QRect at; } placed[] = {
            {b::kPageHomeUp, layout::kPageHome}, {b::kPageModeDown, layout::kPageModeSelect},
            {b::kApplyUp, layout::kApply},       {b::kDefaultsDown, layout::kDefaults},
            {b::kCloseUp, layout::kClose},       {b::kModeMod, layout::kModeSwitch},
            {b::kLampOn, layout::kLampUsb},      {b::kLampOff, layout::kLampBox},
        };
        for (const auto& item : placed)
            QCOMPARE(skin::Image(item.id).pixel(0, 0), face.pixel(item.at.topLeft()));
    }

    void HomePicture_JoinsTheFaceAndKeepsTheBarAndUpdateAreasCalm()
    {
        const QImage picture = skin::Image(b::kHomePicture);
        const QImage face = skin::Image(b::kBackground);
        const QPoint origin = layout::kHomePicture.topLeft();
        for (int x = 0; x < picture.width(); x += 7)
            QCOMPARE(picture.pixel(x, 0), face.pixel(origin + QPoint(x, 0)));
        for (const QRect& calm : {layout::kProgressBar, layout::kUpdate}) {
            const QRect local = calm.translated(-origin);
            const QRgb first = picture.pixel(local.topLeft());
            for (int y = local.top(); y <= local.bottom(); ++y)
                for (int x = local.left(); x <= local.right(); ++x)
                    QCOMPARE(picture.pixel(x, y), first);
        }
    }

    void Masks_AreBlackAndWhiteAndShapeTheirButtons_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("option 201") << b::kOptionButtonMask;
        QTest::newRow("profile 181") << b::kProfileButtonMask;
    }
    void Masks_AreBlackAndWhiteAndShapeTheirButtons()
    {
        QFETCH(int, mask);
        const QImage image = skin::Image(mask);
        int white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                QVERIFY(IsBlackOrWhite(image.pixel(x, y)));
                white += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
            }
        QVERIFY((image.pixel(0, 0) & 0xFFFFFF) == 0xFFFFFF);  // rounded corner outside
        QVERIFY((image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF) == 0);
        QVERIFY(white > 4 && white < image.width() * image.height() / 10);
    }

    void Lamps_LitIsYellowDarkIsBlack()
    {
        const QRgb lit = skin::Image(b::kLampOn).pixel(16, 18);
        const QRgb dark = skin::Image(b::kLampOff).pixel(16, 18);
        QVERIFY(qRed(lit) > 200 && qGreen(lit) > 150 && qBlue(lit) < 100);
        QVERIFY(Luminance(dark) < 60);
    }

    void ModeSwitch_KnobOnTheStockOrTheModSide()
    {
        // The knob is the yellow part: left half for stock, right half for MOD.
        auto yellowIn = [](const QImage& image, int fromX, int toX) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = fromX; x < toX; ++x) {
                    const QRgb p = image.pixel(x, y);
                    n += qRed(p) > 200 && qGreen(p) > 130 && qBlue(p) < 90 ? 1 : 0;
                }
            return n;
        };
        const QImage stock = skin::Image(b::kModeStock);
        const QImage mod = skin::Image(b::kModeMod);
        QVERIFY(yellowIn(stock, 0, 70) > 300 && yellowIn(stock, 70, 140) == 0);
        QVERIFY(yellowIn(mod, 70, 140) > 300 && yellowIn(mod, 0, 70) == 0);
    }

    void AppIcon_HasTheUsualSizes()
    {
        const QIcon icon = skin::AppIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    }
};

} // namespace kel

QTEST_MAIN(kel::SkinTest)
#include "SkinTest.moc"
