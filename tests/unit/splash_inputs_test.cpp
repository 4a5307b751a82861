#include <gtest/gtest.h>

#include "configure/resources/launcher_resources.h"

namespace {

std::string refusal(const std::string& settings, LauncherInputs inputs, bool defaultSplash = false) {
    Result<LauncherConfiguration> configuration = parseSettings(settings);
    EXPECT_TRUE(configuration) << configuration.failure().what;
    Result<void> checked = checkSplashInputs(configuration.value(), "app.settings", inputs, defaultSplash);
    return checked ? "accepted" : checked.failure().what;
}

} // namespace

TEST(SplashInputs, APictureAndTheSplashSettingGoTogether) {
    EXPECT_EQ(refusal("jar=a.jar\nsplash=on\n", {{}, "s.png", "s2.png"}), "accepted");
    EXPECT_EQ(refusal("jar=a.jar\n", {}), "accepted");
    EXPECT_EQ(refusal("jar=a.jar\nsplash=on\n", {}, true), "accepted");
    EXPECT_EQ(refusal("jar=a.jar\n", {{}, "s.png", {}}),
              "app.settings: --splash is given, but the settings leave the splash off, so the picture would never "
              "show; add splash=on to the settings or leave out --splash");
    // An empty value is absent: the line is named, the splash is still off.
    EXPECT_EQ(refusal("jar=a.jar\nsplash=\n", {}, true),
              "app.settings: line 2: --default-splash is given, but the settings leave the splash off, so the picture "
              "would never show; add splash=on to the settings or leave out --default-splash");
    EXPECT_EQ(refusal("splash=on\njar=a.jar\n", {}),
              "app.settings: line 1: splash is on, but no splash picture is given; add --splash PICTURE, or "
              "--default-splash to show the launcher's own picture");
    EXPECT_EQ(refusal("splash=on\n", {{}, {}, "s2.png"}),
              "--splash-2x is the high-DPI form of the --splash picture; give --splash too");
    EXPECT_EQ(refusal("splash=on\n", {{}, "s.png", {}}, true),
              "--default-splash is the launcher's own picture; it cannot go with --splash or --splash-2x");
}
