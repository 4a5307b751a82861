#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "configure/resources/resource_data.h"

// What the tool reads at most: far beyond any real file, and small enough that a launcher stays
// a launcher.
constexpr std::uintmax_t MaxSettingsFileSize = 8u << 20;
constexpr std::uintmax_t MaxSplashFileSize = 16u << 20;
constexpr std::uintmax_t MaxIconFileSize = 1u << 20;

// Reads the settings file (or takes the example configuration when no path is given) and the
// splash picture (or the default bitmap): everything a configured launcher carries (string table,
// splash picture, icon, version, manifest), or why a settings file, picture or icon is refused.
Result<std::vector<Resource>> loadLauncherResources(const std::optional<std::string>& settingsPath,
                                                    const std::optional<std::string>& splashPath);
