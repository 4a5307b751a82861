#include "ui/splash_scale.h"

#include <algorithm>

namespace {

constexpr unsigned MinMonitorDpi = 96;
constexpr unsigned MaxMonitorDpi = 288;

long scaledSide(long side, unsigned monitorDpi, unsigned pictureDpi) {
    long long scaled = (static_cast<long long>(side) * monitorDpi + pictureDpi / 2) / pictureDpi;
    return static_cast<long>(std::max(scaled, 1LL));
}

PictureSize scaled(PictureSize size, unsigned monitorDpi, unsigned pictureDpi) {
    return {scaledSide(size.width, monitorDpi, pictureDpi), scaledSide(size.height, monitorDpi, pictureDpi)};
}

} // namespace

bool splashSizeAccepted(PictureSize size) {
    return size.width > 0 && size.height > 0 && size.width <= MaxSplashSide && size.height <= MaxSplashSide &&
           static_cast<long long>(size.width) * size.height <= MaxSplashPixels;
}

SplashChoice chooseSplashPicture(PictureSize normal, std::optional<PictureSize> highDpi, unsigned monitorDpi) {
    unsigned dpi = std::clamp(monitorDpi, MinMonitorDpi, MaxMonitorDpi);
    SplashChoice choice;
    if (dpi > NormalPictureDpi && highDpi && splashSizeAccepted(*highDpi))
        choice = {SplashSource::HighDpi, scaled(*highDpi, dpi, HighDpiPictureDpi)};
    else
        choice = {SplashSource::Normal, scaled(normal, dpi, NormalPictureDpi)};
    if (!splashSizeAccepted(choice.shown)) choice = {SplashSource::Normal, normal};
    return choice;
}
