#include "resources/Skin.h"

#include <functional>
#include <map>

#include "resources/ResourceIds.h"
#include "resources/SkinPainters.h"
#include "resources/SkinStyle.h"

namespace kel::skin {
namespace {

using Painter = std::function<QImage()>;

const std::map<int, Painter>& Painters()
{
    namespace b = kel::id::bmp;
    static const std::map<int, Painter> painters = [] {
        std::map<int, Painter> p;
        p[b::kBackground] = paint::Background;
        p[b::kHomePicture] = paint::HomePicture;
        p[b::kLampOn] = [] { return paint::Lamp(true); };
        p[b::kLampOff] = [] { return paint::Lamp(false); };
        for (int id : {b::kApplyUp, b::kApplyDown, b::kDefaultsUp, b::kDefaultsDown, b::kUpdateUp, b::kUpdateDown})
            p[id] = [id] { return paint::ActionButton(id); };
        for (int id : {b::kCloseUp, b::kCloseDown, b::kMinimiseUp, b::kMinimiseDown})
            p[id] = [id] { return paint::FrameButton(id); };
        for (int id : {b::kPageBrakeUp, b::kPageBrakeDown, b::kPageHomeUp, b::kPageHomeDown, b::kPageThrottleUp,
                       b::kPageThrottleDown, b::kPageBoosterUp, b::kPageBoosterDown, b::kPageTurboUp, b::kPageTurboDown,
                       b::kPageGeneralUp, b::kPageGeneralDown, b::kPageProfileUp, b::kPageProfileDown, b::kPageModeUp,
                       b::kPageModeDown})
            p[id] = [id] { return paint::PageButton(id); };
        p[b::kModeStock] = [] { return paint::ModeSwitch(false); };
        p[b::kModeMod] = [] { return paint::ModeSwitch(true); };
        p[b::kOptionButton] = [] { return paint::OptionButton(false); };
        p[b::kOptionButtonDown] = [] { return paint::OptionButton(true); };
        p[b::kOptionButtonMask] = paint::OptionButtonMask;
        p[b::kProfileButton] = [] { return paint::ProfileButton(false); };
        p[b::kProfileButtonDown] = [] { return paint::ProfileButton(true); };
        p[b::kProfileButtonMask] = paint::ProfileButtonMask;
        p[b::kPopupBackground] = paint::PopupBackground;
        p[b::kProgressDlgBackground] = paint::ProgressDlgBackground;
        p[b::kIcon] = [] { return paint::Icon(32); };
        return p;
    }();
    return painters;
}

// The icon is painted at each of its own sizes instead.
bool PixelExact(int id)
{
    return id == kel::id::bmp::kIcon;
}

}  // namespace

QImage Image(int id)
{
    return Image(id, 1.0);
}

QImage Image(int id, qreal scale)
{
    if (scale <= 0 || PixelExact(id))
        scale = 1.0;
    // Painted once per scale; later calls share the cached pixels (QImage is
    // implicitly shared).
    static std::map<std::pair<int, int>, QImage> cache;
    const std::pair<int, int> key{id, qRound(scale * 100)};
    if (const auto hit = cache.find(key); hit != cache.end())
        return hit->second;
    const auto painter = Painters().find(id);
    if (painter == Painters().end())
        return {};
    // The painters draw in window pixels at the current scale, and may
    // themselves ask for other bitmaps at it.
    const style::ScaleScope scope(scale);
    QImage image = painter->second();
    cache.emplace(key, image);
    return image;
}

QPixmap Bitmap(int id)
{
    return Bitmap(id, 1.0);
}

QPixmap Bitmap(int id, qreal scale)
{
    const QImage image = Image(id, scale);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QImage DisabledLook(const QImage& normal)
{
    if (normal.isNull())
        return {};
    QImage grey = normal.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            // Grey, pulled toward the frame's dark metal so it reads as off.
            const int level = qGray(line[x]) / 2 + 40;
            line[x] = qRgb(level, level, level + 4);
        }
    }
    grey.setDevicePixelRatio(normal.devicePixelRatio());
    return grey;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(paint::Icon(size)));
    return icon;
}

std::vector<int> BitmapIds()
{
    std::vector<int> ids;
    for (const auto& entry : Painters())
        ids.push_back(entry.first);
    return ids;
}

}  // namespace kel::skin
