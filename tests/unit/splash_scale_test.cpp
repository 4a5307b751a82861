#include <gtest/gtest.h>

#include "ui/splash_scale.h"

namespace {

constexpr PictureSize Normal{300, 200};
constexpr PictureSize HighDpi{600, 400};

SplashChoice choose(unsigned dpi, std::optional<PictureSize> highDpi = std::nullopt) {
    return chooseSplashPicture(Normal, highDpi, dpi);
}

} // namespace

TEST(SplashScale, NormalPictureIsScaledWithTheMonitorFrom100To300Percent) {
    EXPECT_EQ(choose(96).shown, Normal);
    EXPECT_EQ(choose(120).shown, (PictureSize{375, 250}));
    EXPECT_EQ(choose(144).shown, (PictureSize{450, 300}));
    EXPECT_EQ(choose(192).shown, HighDpi);
    EXPECT_EQ(choose(288).shown, (PictureSize{900, 600}));
    EXPECT_EQ(choose(144).source, SplashSource::Normal);
}

TEST(SplashScale, DpiOutsideTheRangeIsClamped) {
    EXPECT_EQ(choose(72).shown, Normal);
    EXPECT_EQ(choose(0).shown, Normal);
    EXPECT_EQ(choose(384).shown, (PictureSize{900, 600}));
    EXPECT_EQ(choose(4000000000u).shown, (PictureSize{900, 600}));
}

TEST(SplashScale, HighDpiPictureIsUsedAbove100PercentOnly) {
    SplashChoice at100 = choose(96, HighDpi);
    EXPECT_EQ(at100.source, SplashSource::Normal);
    EXPECT_EQ(at100.shown, Normal);
    for (unsigned dpi : {120u, 144u, 192u, 288u}) {
        SplashChoice choice = choose(dpi, HighDpi);
        EXPECT_EQ(choice.source, SplashSource::HighDpi) << dpi;
        EXPECT_EQ(choice.shown, choose(dpi).shown) << dpi; // the same size as the normal picture scaled
    }
    // A high-DPI picture that is not twice the normal one keeps its own proportions.
    SplashChoice odd = choose(144, PictureSize{500, 500});
    EXPECT_EQ(odd.source, SplashSource::HighDpi);
    EXPECT_EQ(odd.shown, (PictureSize{375, 375}));
}

TEST(SplashScale, SizesRoundToTheNearestPixelAndNeverVanish) {
    // 125 % of 3 is 3.75 and of 1 is 1.25; 150 % gives 4.5 and 1.5, which round up.
    EXPECT_EQ(chooseSplashPicture({3, 1}, std::nullopt, 120).shown, (PictureSize{4, 1}));
    EXPECT_EQ(chooseSplashPicture({3, 1}, std::nullopt, 144).shown, (PictureSize{5, 2}));
    // The 200 % picture shown at 125 % is scaled to 62.5 %: one pixel stays one.
    SplashChoice tiny = chooseSplashPicture({3, 1}, PictureSize{1, 1}, 120);
    EXPECT_EQ(tiny.source, SplashSource::HighDpi);
    EXPECT_EQ(tiny.shown, (PictureSize{1, 1}));
}

TEST(SplashScale, PicturesBeyondTheLimitsAreNotScaledUp) {
    EXPECT_TRUE(splashSizeAccepted({MaxSplashSide, 1}));
    EXPECT_TRUE(splashSizeAccepted({4096, 4096}));
    EXPECT_FALSE(splashSizeAccepted({MaxSplashSide + 1, 1}));
    EXPECT_FALSE(splashSizeAccepted({1, MaxSplashSide + 1}));
    EXPECT_FALSE(splashSizeAccepted({4097, 4096}));
    EXPECT_FALSE(splashSizeAccepted({0, 10}));
    EXPECT_FALSE(splashSizeAccepted({10, -1}));

    // Scaled, the picture would exceed a limit: it stays at its own size.
    SplashChoice wide = chooseSplashPicture({4000, 100}, std::nullopt, 288);
    EXPECT_EQ(wide.source, SplashSource::Normal);
    EXPECT_EQ(wide.shown, (PictureSize{4000, 100}));
    SplashChoice large = chooseSplashPicture({3000, 3000}, std::nullopt, 144);
    EXPECT_EQ(large.shown, (PictureSize{3000, 3000}));
    // A high-DPI picture beyond the limits is left out.
    SplashChoice refused = chooseSplashPicture(Normal, PictureSize{9000, 10}, 192);
    EXPECT_EQ(refused.source, SplashSource::Normal);
    EXPECT_EQ(refused.shown, HighDpi);
}
