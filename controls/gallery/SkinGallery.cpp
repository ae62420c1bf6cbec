// kel-skin-gallery OUTDIR: writes every skin bitmap and renders of the skinned
// controls as PNG files, for looking at the skin without the main window.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "controls/gallery/GalleryScenes.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"

namespace {

bool Save(const QImage& image, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The face with the fixed bitmaps placed where the window puts them.
QImage Composite(bool homePage)
{
    namespace b = kel::id::bmp;
    namespace l = kel::layout;
    QImage image(l::kWindowSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.drawImage(0, 0, kel::skin::Image(b::kBackground));
    const struct {
        int id;
        QRect at;
    } placed[] = {
        {b::kCloseUp, l::kClose},
        {b::kMinimiseUp, l::kMinimise},
        {b::kApplyUp, l::kApply},
        {b::kDefaultsDown, l::kDefaults},
        {b::kLampOn, l::kLampBox},
        {b::kLampOff, l::kLampEsc},
        {b::kLampOn, l::kLampUsb},
        {b::kPageHomeDown, l::kPageHome},
        {b::kPageThrottleUp, l::kPageThrottle},
        {b::kPageBoosterUp, l::kPageBooster},
        {b::kPageTurboUp, l::kPageTurbo},
        {b::kPageBrakeUp, l::kPageBrake},
        {b::kPageGeneralUp, l::kPageGeneral},
        {b::kPageProfileUp, l::kPageProfile},
        {b::kPageModeUp, l::kPageModeSelect},
    };
    for (const auto& item : placed)
        p.drawImage(item.at.topLeft(), kel::skin::Image(item.id));
    if (homePage) {
        p.drawImage(l::kHomePicture.topLeft(), kel::skin::Image(b::kHomePicture));
        p.drawImage(l::kUpdate.topLeft(), kel::skin::Image(b::kUpdateUp));
    }
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kel-skin-gallery OUTDIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (int id : kel::skin::BitmapIds())
        ok &= Save(kel::skin::Image(id), dir, QStringLiteral("bitmap-%1").arg(id));
    ok &= Save(Composite(true), dir, QStringLiteral("window-home"));
    ok &= Save(Composite(false), dir, QStringLiteral("window-page"));
    for (const auto& shots : {kel::gallery::ButtonShots(), kel::gallery::ProgressShots(), kel::gallery::PopupShots(),
                              kel::gallery::WindowShots()})
        for (const kel::gallery::Shot& shot : shots)
            ok &= Save(shot.image, dir, shot.name);
    return ok ? 0 : 1;
}
