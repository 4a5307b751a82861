#pragma once

#include <cstddef>
#include <cstdint>
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
    // The line each key was given on, so later refusals (a missing icon) can name it.
    std::map<std::string, int> lines;
};

// What a value must be for the launcher to use it. Every value also holds no control character
// but tab: the launcher's command line and messages end at a NUL and break at the others.
enum class ValueKind {
    Text,         // any text
    Flag,         // on whenever present, whatever the text
    Number,       // a decimal whole number from `least` to `most`
    JavaVersion,  // numbers separated by '.' or '_', as the launcher compares versions (1.8.0_392)
    WebAddress,   // an http:// or https:// address without blanks
    ExitStatuses, // exit statuses separated by commas, each from -2^31 to 2^32 - 1
    FileVersion,  // up to four numbers from 0 to 65535 separated by dots
    VmOptions,    // VM options, each perhaps after a version range ([24+]--enable-native-access=...)
    HeapShare,    // P[,FLOOR_MB[,CAP_MB]]: the maximum heap as a share of physical memory
};

struct ValueRule {
    ValueKind kind = ValueKind::Text;
    std::int64_t least = 0, most = 0; // for numbers
};

struct SettingKey {
    const char* name;
    unsigned id;
    ValueRule rule;
    const char* meaning;
};

// The readable keys of the settings file, the string table ids they fill and their rules.
const std::vector<SettingKey>& settingKeys();

struct MetadataKey {
    const char* name;
    ValueRule rule;
    const char* meaning;
};

// The keys that describe the executable itself: its icon and its version resource.
const std::vector<MetadataKey>& metadataKeys();

// Why `value` does not follow `rule` ("is not a whole number from 0 to 3600", ...); nothing
// when it does.
std::optional<std::string> valueProblem(const ValueRule& rule, const std::string& value);

// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0 to 65535, as four numbers; nothing otherwise.
std::optional<std::vector<unsigned>> parseFileVersion(const std::string& text);

// Exit statuses as the launcher compares them: Windows reports System.exit(-1) as 4294967295,
// so a negative status is its 32-bit two's complement. Nothing when the list is malformed.
std::optional<std::vector<std::uint32_t>> parseExitStatuses(const std::string& text);

// Longest values, in UTF-16 units: a string table entry's length is a 16-bit number; the version
// resource's texts share its 16-bit sizes.
constexpr std::size_t MaxSettingLength = 65535;
constexpr std::size_t MaxMetadataLength = 1024;

// The minimum Java version the launcher asks for when min_version is absent.
extern const char* const DefaultMinimumVersion;

// The configuration, or why the file is refused (naming the line, the key and the reason). Lines
// end in LF, CR LF or CR. A key may be given once: with two, one of them would be lost unseen.
Result<LauncherConfiguration> parseSettings(const std::string& text);

// The example configuration a launcher is built with when no settings file is given.
LauncherConfiguration exampleConfiguration();
