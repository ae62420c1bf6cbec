#include "resources/Skin.h"

#include <functional>
#include <map>

#include "resources/ResourceIds.h"
#include "resources/SkinPainters.h"

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
                       b::kPageThrottleDown, b::kPageBoosterUp, b::kPageBoosterDown, b::kPageTurboUp,
                       b::kPageTurboDown, b::kPageGeneralUp, b::kPageGeneralDown, b::kPageProfileUp,
                       b::kPageProfileDown, b::kPageModeUp, b::kPageModeDown})
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

} // namespace

QImage Image(int id)
{
    // Painted once; later calls share the cached pixels (QImage is implicitly shared).
    static std::map<int, QImage> cache;
    if (const auto hit = cache.find(id); hit != cache.end())
        return hit->second;
    const auto painter = Painters().find(id);
    if (painter == Painters().end())
        return {};
    QImage image = painter->second();  // may itself ask for other bitmaps
    cache.emplace(id, image);
    return image;
}

QPixmap Bitmap(int id)
{
    const QImage image = Image(id);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
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

} // namespace kel::skin
