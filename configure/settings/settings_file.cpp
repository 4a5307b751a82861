#include "configure/settings/settings_file.h"

#include <cctype>
#include <cstdint>

#include "base/heap_share.h"
#include "base/setting_ids.h"
#include "base/utf8.h"
#include "base/version_range.h"

const char* const DefaultMinimumVersion = "1.3";

namespace {

constexpr ValueRule Text{ValueKind::Text};
constexpr ValueRule Flag{ValueKind::Flag};
constexpr ValueRule JavaVersion{ValueKind::JavaVersion};
// The launcher reads numbers into a signed 32-bit int.
constexpr ValueRule SplashSeconds{ValueKind::Number, INT32_MIN, INT32_MAX};
constexpr ValueRule StartupCheckSeconds{ValueKind::Number, 0, 3600};

} // namespace

const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = {
        {"splash", SettingSplash, Flag, "show the splash picture while the application starts (flag)"},
        {"stay_alive", SettingStayAlive, Flag, "stay until the application has ended and return its status (flag)"},
        {"splash_seconds", SettingSplashSeconds, SplashSeconds, "length of the splash phase in seconds (number)"},
        {"bundled_java", SettingBundledJava, Text, "Java executable shipped with the application (relative path)"},
        {"vm_options", SettingVmOptions, {ValueKind::VmOptions},
         "VM arguments used when there is no .vmoptions file ([24+]-option: only for those Java versions)"},
        {"jar", SettingJar, Text, "the application's jar file, given to Java after -jar"},
        {"wait_for_window", SettingWaitForWindow, Flag, "end the splash at the application's first window (flag)"},
        {"working_dir", SettingWorkingDirectory, Text, "working directory, relative to the launcher's folder"},
        {"min_version", SettingMinimumVersion, JavaVersion, "minimum Java version"},
        {"jdk_required", SettingJdkRequired, Flag, "a Java development kit is required (flag)"},
        {"pass_arguments", SettingPassArguments, Flag, "the launcher's arguments follow the jar (flag)"},
        {"max_version", SettingMaximumVersion, JavaVersion, "highest Java version that may run the application"},
        {"console", SettingConsole, Flag, "a console program for command-line applications (flag)"},
        {"startup_check_seconds", SettingStartupCheckSeconds, StartupCheckSeconds,
         "seconds in which a failed start is reported (number, 0 turns the check off)"},
        {"download_url", SettingDownloadUrl, {ValueKind::WebAddress}, "address the cannot-start dialog links to"},
        {"restart_on_exit", SettingRestartOnExit, {ValueKind::ExitStatuses},
         "exit statuses that start the application again (list)"},
        {"single_instance", SettingSingleInstance, Flag, "a second start brings the running application forward (flag)"},
        {"user_vm_options", SettingUserVmOptions, Text,
         "the user's own options file, read after the shipped options when it exists (path, variables allowed)"},
        {"max_heap_percent", SettingMaxHeapPercent, {ValueKind::HeapShare},
         "maximum heap as a share of physical memory: P[,FLOOR_MB[,CAP_MB]]"},
    };
    return keys;
}

const std::vector<MetadataKey>& metadataKeys() {
    static const std::vector<MetadataKey> keys = {
        {"icon", Text, "icon file (.ico) shown for the executable, relative to the settings file"},
        {"product_name", Text, "product name in the version resource"},
        {"description", Text, "file description in the version resource (shown by the task manager)"},
        {"version", {ValueKind::FileVersion}, "file and product version, up to four numbers: 1.2.3.4"},
        {"company", Text, "company name in the version resource"},
        {"copyright", Text, "copyright notice in the version resource"},
    };
    return keys;
}

namespace {

bool isDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A decimal whole number with an optional minus sign; nothing when it is none or lies outside
// the range of 64-bit numbers (far beyond every rule's bounds).
std::optional<std::int64_t> wholeNumber(const std::string& text) {
    bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    if (!isDigits(digits) || digits.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (char digit : digits) value = value * 10 + (digit - '0');
    return negative ? -value : value;
}

std::vector<std::string> split(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    std::string::size_type at = 0;
    while (true) {
        std::string::size_type end = text.find_first_of(separators, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return parts;
        at = end + 1;
    }
}

std::string trimmed(const std::string& text) {
    std::string::size_type first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Java versions as the launcher compares them: numbers, each below a billion.
std::optional<std::vector<std::uint32_t>> javaVersionNumbers(const std::string& text) {
    std::vector<std::uint32_t> numbers;
    for (const std::string& part : split(text, "._")) {
        if (!isDigits(part) || part.size() > 9) return std::nullopt;
        numbers.push_back(static_cast<std::uint32_t>(std::stoul(part)));
    }
    return numbers;
}

// As the launcher compares a version with a maximum: on as many numbers as the maximum has.
bool versionAtMost(const std::vector<std::uint32_t>& maximum, const std::vector<std::uint32_t>& version) {
    for (std::size_t i = 0; i < maximum.size(); ++i) {
        std::uint32_t number = i < version.size() ? version[i] : 0;
        if (number != maximum[i]) return number < maximum[i];
    }
    return true;
}

bool isWebAddress(const std::string& text) {
    auto startsWith = [&](const std::string& scheme) {
        if (text.size() <= scheme.size()) return false;
        for (std::size_t i = 0; i < scheme.size(); ++i)
            if (static_cast<char>(std::tolower(static_cast<unsigned char>(text[i]))) != scheme[i]) return false;
        return true;
    };
    return (startsWith("http://") || startsWith("https://")) && text.find_first_of(" \t") == std::string::npos;
}

// The first control character other than tab; the launcher's texts end at a NUL.
std::optional<unsigned char> controlCharacter(const std::string& value) {
    for (char c : value) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return byte;
    }
    return std::nullopt;
}

std::string hexByte(unsigned char byte) {
    const char* digits = "0123456789ABCDEF";
    return std::string("U+00") + digits[byte >> 4] + digits[byte & 15];
}

std::string lineText(int lineNumber) { return "line " + std::to_string(lineNumber) + ": "; }

} // namespace

std::optional<std::vector<unsigned>> parseFileVersion(const std::string& text) {
    std::vector<unsigned> parts;
    for (const std::string& part : split(text, ".")) {
        if (!isDigits(part) || part.size() > 5) return std::nullopt;
        unsigned value = static_cast<unsigned>(std::stoul(part));
        if (value > 65535) return std::nullopt;
        parts.push_back(value);
    }
    if (parts.size() > 4) return std::nullopt;
    parts.resize(4, 0);
    return parts;
}

std::optional<std::vector<std::uint32_t>> parseExitStatuses(const std::string& text) {
    std::vector<std::uint32_t> statuses;
    for (const std::string& part : split(text, ",")) {
        std::optional<std::int64_t> status = wholeNumber(trimmed(part));
        if (!status || *status < INT32_MIN || *status > UINT32_MAX) return std::nullopt;
        statuses.push_back(static_cast<std::uint32_t>(*status));
    }
    return statuses;
}

std::optional<std::string> valueProblem(const ValueRule& rule, const std::string& value) {
    if (std::optional<unsigned char> control = controlCharacter(value))
        return "holds the control character " + hexByte(*control) + " (only tab is allowed)";
    switch (rule.kind) {
    case ValueKind::Text:
    case ValueKind::Flag:
        return std::nullopt;
    case ValueKind::Number: {
        std::optional<std::int64_t> number = wholeNumber(value);
        if (number && *number >= rule.least && *number <= rule.most) return std::nullopt;
        return "is not a whole number from " + std::to_string(rule.least) + " to " + std::to_string(rule.most);
    }
    case ValueKind::JavaVersion:
        if (javaVersionNumbers(value)) return std::nullopt;
        return "is not a Java version (numbers separated by dots or underscores, such as 1.8 or 17.0.2)";
    case ValueKind::WebAddress:
        if (isWebAddress(value)) return std::nullopt;
        return "is not an http:// or https:// address without blanks";
    case ValueKind::ExitStatuses:
        if (parseExitStatuses(value)) return std::nullopt;
        return "is not a list of exit statuses from -2147483648 to 4294967295 separated by commas";
    case ValueKind::FileVersion:
        if (parseFileVersion(value)) return std::nullopt;
        return "is not up to four numbers from 0 to 65535 separated by dots";
    case ValueKind::VmOptions:
        return vmOptionsProblem(value);
    case ValueKind::HeapShare:
        return heapShareProblem(value);
    }
    return std::nullopt;
}

namespace {

// The maximum must admit at least the minimum, or no runtime could ever fit.
Result<void> checkVersionRange(const LauncherConfiguration& configuration, int maximumLine) {
    auto maximum = configuration.strings.find(SettingMaximumVersion);
    if (maximum == configuration.strings.end()) return {};
    auto minimum = configuration.strings.find(SettingMinimumVersion);
    bool defaultMinimum = minimum == configuration.strings.end();
    std::string minimumText = defaultMinimum ? DefaultMinimumVersion : minimum->second;
    if (versionAtMost(*javaVersionNumbers(maximum->second), *javaVersionNumbers(minimumText))) return {};
    return Failure{0, lineText(maximumLine) + "max_version \"" + maximum->second + "\" is below min_version \"" +
                          minimumText + "\"" + (defaultMinimum ? " (the default)" : "")};
}

} // namespace

Result<LauncherConfiguration> parseSettings(const std::string& text) {
    LauncherConfiguration configuration;
    std::string::size_type at = 0;
    int lineNumber = 0, maximumVersionLine = 0;
    while (at < text.size()) {
        // Lines end in LF, CR LF (Windows) or CR alone (old Mac editors); no end is part of a value.
        std::string::size_type end = text.find_first_of("\r\n", at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        if (end != std::string::npos && text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
        ++lineNumber;
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        if (line.empty() || line[0] == '#') continue;
        std::string::size_type equals = line.find('=');
        if (equals == std::string::npos)
            return Failure{0, lineText(lineNumber) + "expected key=value, found \"" + line + "\""};
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        const SettingKey* setting = nullptr;
        for (const SettingKey& candidate : settingKeys())
            if (key == candidate.name) setting = &candidate;
        const MetadataKey* metadata = nullptr;
        for (const MetadataKey& candidate : metadataKeys())
            if (key == candidate.name) metadata = &candidate;
        if (!setting && !metadata) return Failure{0, lineText(lineNumber) + "unknown key \"" + key + "\""};
        if (auto first = configuration.lines.find(key); first != configuration.lines.end())
            return Failure{0, lineText(lineNumber) + key + " is given twice (first on line " +
                                  std::to_string(first->second) + "); keep one of them"};
        configuration.lines[key] = lineNumber;
        // Lengths are stored in 16 bits: a string table entry holds at most 65,535 UTF-16 units,
        // and the version resource's texts must leave room for its own 16-bit sizes.
        std::size_t units = utf16FromUtf8(value).size();
        std::size_t limit = metadata ? MaxMetadataLength : MaxSettingLength;
        if (units > limit)
            return Failure{0, lineText(lineNumber) + "the value of " + key + " is longer than " +
                                  std::to_string(limit) + " characters"};
        const ValueRule& rule = metadata ? metadata->rule : setting->rule;
        if (std::optional<std::string> problem = value.empty() ? std::nullopt : valueProblem(rule, value)) {
            // A value with control characters is not repeated: they would garble the message.
            std::string subject = controlCharacter(value) ? "the value of " + key : key + " \"" + value + "\"";
            return Failure{0, lineText(lineNumber) + subject + " " + *problem};
        }
        if (setting && setting->id == SettingMaximumVersion) maximumVersionLine = lineNumber;
        if (metadata) {
            if (value.empty())
                configuration.metadata.erase(key);
            else
                configuration.metadata[key] = value;
        } else if (value.empty()) {
            configuration.strings.erase(setting->id);
        } else {
            configuration.strings[setting->id] = value;
        }
    }
    if (Result<void> range = checkVersionRange(configuration, maximumVersionLine); !range) return range.failure();
    return configuration;
}

LauncherConfiguration exampleConfiguration() {
    LauncherConfiguration configuration;
    configuration.strings = {
        {SettingStayAlive, "alive"},
        {SettingSplashSeconds, "3"},
        {SettingBundledJava, "jre\\bin\\javaw.exe"},
        {SettingVmOptions, "-Dcom.apple.mrj.application.apple.menu.about.name=\"Quillfen\""},
        {SettingJar, "quillfen.jar"},
        {SettingWaitForWindow, "waitForWindow"},
        {SettingMinimumVersion, "1.5"},
    };
    return configuration;
}
