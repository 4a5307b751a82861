#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"

// A launcher's settings as written in a settings file: one `key=value` a line, the value taken
// verbatim to the end of the line. Blank lines and lines starting with '#' are skipped.
struct LauncherConfiguration {
    // String table entries by id; an entry that is missing or empty is absent.
    std::map<unsigned, std::string> strings;
    // How the executable presents itself (icon file, version texts), by key; see metadataKeys().
    std::map<std::string, std::string> metadata;
};

struct SettingKey {
    const char* name;
    unsigned id;
    const char* meaning;
};

// The readable keys of the settings file and the string table ids they fill.
const std::vector<SettingKey>& settingKeys();

struct MetadataKey {
    const char* name;
    const char* meaning;
};

// The keys that describe the executable itself: its icon and its version resource.
const std::vector<MetadataKey>& metadataKeys();

// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0 to 65535, as four numbers; nothing otherwise.
std::optional<std::vector<unsigned>> parseFileVersion(const std::string& text);

// Longest values, in UTF-16 units: a string table entry's length is a 16-bit number; the version
// resource's texts share its 16-bit sizes.
constexpr std::size_t MaxSettingLength = 65535;
constexpr std::size_t MaxMetadataLength = 1024;

// The configuration, or why the file is refused (naming the line). Lines end in LF, CR LF or CR.
Result<LauncherConfiguration> parseSettings(const std::string& text);

// The example configuration a launcher is built with when no settings file is given.
LauncherConfiguration exampleConfiguration();
