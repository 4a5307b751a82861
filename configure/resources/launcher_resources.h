#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "configure/resources/resource_data.h"

// Reads the settings file (or takes the example configuration when no path is given) and the
// splash picture (or the default bitmap): everything a configured launcher carries (string table,
// splash picture, icon, version, manifest), or why a settings file, picture or icon is refused.
Result<std::vector<Resource>> loadLauncherResources(const std::optional<std::string>& settingsPath,
                                                    const std::optional<std::string>& splashPath);
