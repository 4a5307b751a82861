#include "configure/settings/settings_file.h"

#include "base/utf8.h"
#include "settings_contract/setting_ids.h"

namespace {

std::string lineText(int lineNumber) { return "line " + std::to_string(lineNumber) + ": "; }

// The maximum must admit at least the minimum, or no runtime could ever fit (compared as the
// launcher compares: 8 and 1.8 are one version).
Result<void> checkVersionRange(const LauncherConfiguration& configuration, int maximumLine) {
    auto maximum = configuration.strings.find(SettingMaximumVersion);
    if (maximum == configuration.strings.end()) return {};
    auto minimum = configuration.strings.find(SettingMinimumVersion);
    bool defaultMinimum = minimum == configuration.strings.end();
    std::string minimumText = defaultMinimum ? DefaultMinimumVersion : minimum->second;
    if (versionRangeCanBeMet(minimumText, maximum->second)) return {};
    return Failure{0, lineText(maximumLine) + "max_version \"" + maximum->second + "\" is below min_version \"" +
                          minimumText + "\"" + (defaultMinimum ? " (the default)" : "")};
}

// One way to start the application: a module, a main class or a jar; and each path only with
// the form that uses it.
Result<void> checkLaunchForm(const LauncherConfiguration& configuration) {
    auto given = [&](unsigned id) { return configuration.strings.count(id) != 0; };
    auto line = [&](const char* key) { return configuration.lines.at(key); };
    if (given(SettingModule)) {
        const std::pair<const char*, unsigned> others[] = {{"jar", SettingJar}, {"main_class", SettingMainClass}};
        for (const auto& [other, id] : others) {
            if (!given(id)) continue;
            return Failure{0, lineText(line("module")) + "module cannot be given together with " + other + " (line " +
                                  std::to_string(line(other)) + "): a module is started from the module path with -m; "
                                  "leave out " + other};
        }
    }
    if (given(SettingClassPath) && !given(SettingMainClass))
        return Failure{0, lineText(line("class_path")) + "class_path needs main_class: the class path is used only to "
                                                         "start a main class"};
    if (given(SettingModulePath) && !given(SettingModule))
        return Failure{0, lineText(line("module_path")) + "module_path needs module: the module path is used only to "
                                                           "start a module"};
    return {};
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
        const SettingKey* found = findSettingKey(key);
        if (!found) return Failure{0, lineText(lineNumber) + "unknown key \"" + key + "\""};
        const SettingKey* setting = found->id ? found : nullptr;
        const SettingKey* metadata = found->id ? nullptr : found;
        if (auto first = configuration.lines.find(key); first != configuration.lines.end())
            return Failure{0, lineText(lineNumber) + key + " is given twice (first on line " +
                                  std::to_string(first->second) + "); keep one of them"};
        configuration.lines[key] = lineNumber;
        // Values are stored as UTF-16, converted from UTF-8: bytes of another encoding would
        // reach the executable as replacement characters.
        if (!isValidUtf8(value))
            return Failure{0, lineText(lineNumber) + "the value of " + key +
                                  " is not UTF-8 text; save the settings file as UTF-8"};
        // Lengths are stored in 16 bits: a string table entry holds at most 65,535 UTF-16 units,
        // and the version resource's texts must leave room for its own 16-bit sizes.
        std::size_t units = utf16FromUtf8(value).size();
        std::size_t limit = metadata ? MaxMetadataLength : MaxSettingLength;
        if (units > limit)
            return Failure{0, lineText(lineNumber) + "the value of " + key + " is longer than " +
                                  std::to_string(limit) + " characters"};
        const ValueRule& rule = found->rule;
        if (std::optional<std::string> problem = value.empty() ? std::nullopt : valueProblem(rule, value)) {
            // A value with control characters is not repeated: they would garble the message.
            std::string subject = controlCharacter(value) ? "the value of " + key : key + " \"" + value + "\"";
            return Failure{0, lineText(lineNumber) + subject + " " + *problem};
        }
        if (setting && setting->id == SettingMaximumVersion) maximumVersionLine = lineNumber;
        // The launcher reads a flag as on whenever it has any text: one that is off is left out.
        if (rule.kind == ValueKind::Flag && !value.empty()) value = *flagWord(value) ? FlagOnText : "";
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
    if (Result<void> form = checkLaunchForm(configuration); !form) return form.failure();
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
