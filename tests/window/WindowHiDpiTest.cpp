// The window at QT_SCALE_FACTOR=2 (the masked buttons also at 1.5): the skin
// is painted for the finer screen, not scaled up, and the progress bar covers
// every device pixel.
#include <QtTest>

#include "WindowFixture.h"
#include "controls/CXProgressCtrl.h"
#include "controls/CxSkinButton.h"
#include "resources/Skin.h"

using namespace kel;
using kel::test::WindowFixture;

class WindowHiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(qgetenv("QT_SCALE_FACTOR") == "2" || qgetenv("QT_SCALE_FACTOR") == "1.5", "QT_SCALE_FACTOR 2 or 1.5");
    }

    void ProgressBarEdgesCoverTheLastDevicePixels()
    {
        WindowFixture f;
        QCOMPARE(f.window->devicePixelRatioF(), 2.0);
        auto* bar = f.Control<CXProgressCtrl>(id::kProgressBar);
        bar->setValue(50);
        const QImage shot = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), bar->size() * 2);
        const QRgb border = bar->palette().color(QPalette::Dark).rgb() | 0xFF000000u;
        // Both device rows and columns of the outer frame, all the way round.
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                if (std::min({x, y, shot.width() - 1 - x, shot.height() - 1 - y}) > 1)
                    continue;
                QCOMPARE(shot.pixel(x, y) | 0xFF000000u, border);
            }
    }

    void MaskedButtonEdgesArePaintedAtTheScreensPixels()
    {
        WindowFixture f;
        QVERIFY(f.Connect(id::kRadioEsc));
        f.Click(id::kPageThrottle);
        auto* button = f.Control<CxSkinButton>(id::kFirstSlot);
        QVERIFY(button->isVisible() && button->isEnabled());
        const qreal scale = button->devicePixelRatioF();
        // From the window, so the button's own mask clips it as on the screen.
        const QImage shot = f.window->grab(button->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage reference = skin::Image(id::bmp::kOptionButton, scale).convertToFormat(QImage::Format_RGB32);
        const QImage mask = skin::Image(id::bmp::kOptionButtonMask, scale);
        const QImage upscaled = skin::Image(id::bmp::kOptionButtonMask).scaled(mask.size());  // the 1x outline blown up
        QCOMPARE(shot.size(), reference.size());
        QCOMPARE(mask.size(), reference.size());
        const QRgb face = shot.pixel(0, 0);  // the page under the rounded corner
        QCOMPARE(mask.pixel(0, 0) | 0xFF000000u, 0xFFFFFFFFu);
        // A band of 8 device pixels round the edge: outline and border, no caption.
        int finer = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                if (x >= 8 && y >= 8 && x < shot.width() - 8 && y < shot.height() - 8)
                    continue;
                const bool inside = (mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
                const QRgb want = inside ? reference.pixel(x, y) : face;
                if (shot.pixel(x, y) != want)
                    QFAIL(qPrintable(QString("device pixel %1,%2 differs from the skin").arg(x).arg(y)));
                finer += inside != ((upscaled.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF);
            }
        // The corners step by device pixels, where a 1x outline blown up steps by blocks.
        QVERIFY2(finer >= 8, qPrintable(QString::number(finer)));
    }
};

QTEST_MAIN(WindowHiDpiTest)
#include "WindowHiDpiTest.moc"
