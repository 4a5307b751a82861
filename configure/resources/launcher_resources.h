#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "configure/resources/file_io.h"
#include "configure/resources/resource_data.h"

// What the tool reads at most: far beyond any real file, and small enough that a launcher stays
// a launcher.
constexpr InputFile SettingsFile{"the settings file", 8u << 20, "8 MiB"};
constexpr InputFile SplashFile{"the splash picture", 16u << 20, "16 MiB"};
constexpr InputFile IconFile{"the icon file", 1u << 20, "1 MiB"};
constexpr InputFile LauncherFile{"the launcher", 64u << 20, "64 MiB"};

// The files a configured launcher is made from; without a settings file the example
// configuration, without a splash picture the default bitmap, without a high-DPI picture none.
struct LauncherInputs {
    std::optional<std::string> settings, splash, splashHighDpi;
};

// The configuration the settings file holds (the example one when there is none), or why the
// file is refused.
Result<LauncherConfiguration> readConfiguration(const std::optional<std::string>& settingsPath);

// The icon file the configuration names, relative to the settings file; nothing when it names none.
std::optional<std::string> iconPath(const LauncherConfiguration& configuration,
                                    const std::optional<std::string>& settingsPath);

// Whether the splash setting and the pictures agree: a picture given while the splash is off would
// never show, and a splash that is on shows the picture given, or the launcher's own default
// picture only when that is asked for (defaultSplash). The reason names the settings file
// (settingsName) and its splash line.
Result<void> checkSplashInputs(const LauncherConfiguration& configuration, const std::string& settingsName,
                               const LauncherInputs& inputs, bool defaultSplash);

// Everything a configured launcher carries (string table, splash pictures, icon, version,
// manifest), or why a picture or icon is refused.
Result<std::vector<Resource>> loadLauncherResources(const LauncherConfiguration& configuration,
                                                    const LauncherInputs& inputs);
