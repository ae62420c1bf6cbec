// The window at QT_SCALE_FACTOR=2: the skin is painted for the finer screen,
// not scaled up, and the progress bar covers every device pixel.
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
        QVERIFY2(qgetenv("QT_SCALE_FACTOR") == "2", "run with QT_SCALE_FACTOR=2");
    }

    void ProgressBarEdgesCoverTheLastDevicePixels()
    {
        WindowFixture f;
        QCOMPARE(f.window->devicePixelRatioF(), 2.0);
        auto* bar = f.Control<CXProgressCtrl>(id::kProgressBar);
        bar->setValue(50);
        const QImage shot = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage reference = bar->Render(2.0).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), bar->size() * 2);
        QCOMPARE(reference.size(), shot.size());
        const int w = shot.width();
        const int h = shot.height();
        const QRgb border = bar->palette().color(QPalette::Dark).rgb() | 0xFF000000u;
        // Both device rows and columns of the outer frame, all the way round.
        for (int x = 0; x < w; ++x)
            for (int y : {0, 1, h - 2, h - 1}) {
                QCOMPARE(shot.pixel(x, y), reference.pixel(x, y));
                QCOMPARE(shot.pixel(x, y) | 0xFF000000u, border);
            }
        for (int y = 0; y < h; ++y)
            for (int x : {0, 1, w - 2, w - 1}) {
                QCOMPARE(shot.pixel(x, y), reference.pixel(x, y));
                QCOMPARE(shot.pixel(x, y) | 0xFF000000u, border);
            }
    }

    void PageButtonTextIsPaintedAtTwiceThePixels()
    {
        WindowFixture f;
        auto* home = f.Control<CxSkinButton>(id::kPageHome);  // the open page: its down look
        QVERIFY(home->isChecked());
        QVERIFY(!home->ShowsFocusMark());
        const QImage shot = home->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage reference = skin::Image(id::bmp::kPageHomeDown, 2.0).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), reference.size());
        QCOMPARE(shot.size(), home->size() * 2);
        int differing = 0;
        const QImage upscaled = skin::Image(id::bmp::kPageHomeDown)
                                    .scaled(reference.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                    .convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixel(x, y) != reference.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("device pixel %1,%2 differs from the 2x skin").arg(x).arg(y)));
                differing += shot.pixel(x, y) != upscaled.pixel(x, y);
            }
        // The text's edges: a 1x bitmap blown up has 2x2 blocks; the 2x one does not.
        QVERIFY2(differing > 200, qPrintable(QString::number(differing)));
    }
};

QTEST_MAIN(WindowHiDpiTest)
#include "WindowHiDpiTest.moc"
