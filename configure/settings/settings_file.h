#pragma once

#include <map>
#include <string>

#include "base/result.h"
#include "settings_contract/java_version.h"
#include "settings_contract/setting_keys.h"

// A launcher's settings as written in a settings file: one `key=value` a line, the value taken
// verbatim to the end of the line. Blank lines and lines starting with '#' are skipped.
struct LauncherConfiguration {
    // String table entries by id; an entry that is missing or empty is absent.
    std::map<unsigned, std::string> strings;
    // How the executable presents itself (icon file, version texts), by key; see metadataKeys().
    std::map<std::string, std::string> metadata;
    // The line each key was given on, so later refusals (a missing icon) can name it.
    std::map<std::string, int> lines;
};

// The keys, their rules and the value rules are the settings contract's (settingKeys(),
// metadataKeys(), valueProblem(), parseExitStatuses(), parseFileVersion(), DefaultMinimumVersion).

// The configuration, or why the file is refused (naming the line, the key and the reason). Lines
// end in LF, CR LF or CR. A key may be given once: with two, one of them would be lost unseen.
// A value is kept only where the launcher uses it as written: a flag that is on is stored as
// "on", one that is off is left out, and a version range that no runtime can meet is refused.
Result<LauncherConfiguration> parseSettings(const std::string& text);

// The example configuration a launcher is built with when no settings file is given.
LauncherConfiguration exampleConfiguration();
