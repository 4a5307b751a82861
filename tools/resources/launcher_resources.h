#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/resources/resource_data.h"

// Everything a configured launcher carries: its string table and its splash picture.
struct LauncherResources {
    std::vector<Resource> resources;
    std::string error; // empty on success; names what was refused
};

// Reads the settings file (or takes the example configuration when no path is given) and the
// splash picture (or the default bitmap), refusing a bad settings file or an unreadable picture.
LauncherResources loadLauncherResources(const std::optional<std::string>& settingsPath,
                                        const std::optional<std::string>& splashPath);
