#pragma once

#include <optional>

#include "settings_contract/splash_picture.h"

// A picture's size in pixels.
struct PictureSize {
    long width = 0;
    long height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The pixels a splash picture may have, before and after scaling: the picture limits.
constexpr long MaxSplashSide = MaxPictureSide;
constexpr long long MaxSplashPixels = MaxPicturePixels;

// The DPI a picture is drawn for: the normal one at 100 %, the high-DPI one at 200 %.
constexpr unsigned NormalPictureDpi = 96;
constexpr unsigned HighDpiPictureDpi = 192;

[[nodiscard]] bool splashSizeAccepted(PictureSize size);

enum class SplashSource { Normal, HighDpi };

// Which picture the splash shows and at what size, on a monitor of the given DPI.
struct SplashChoice {
    SplashSource source = SplashSource::Normal;
    PictureSize shown;
};

// The monitor's DPI counts from 100 % (96) to 300 % (288), clamped. Above 100 % the high-DPI
// picture is shown when there is one (scaled from its 200 %, down as well as up: more pixels
// to start from keep it sharp), otherwise the normal picture scaled up. Sizes are rounded to
// the nearest pixel. A size beyond the limits shows the normal picture at its own size.
// The normal picture's size must be accepted; a high-DPI size that is not is left out.
[[nodiscard]] SplashChoice chooseSplashPicture(PictureSize normal, std::optional<PictureSize> highDpi,
                                               unsigned monitorDpi);
