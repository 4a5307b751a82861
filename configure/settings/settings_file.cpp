#include "configure/settings/settings_file.h"

#include "base/setting_ids.h"
#include "base/utf8.h"

const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = {
        {"splash", SettingSplash, "show the splash picture while the application starts (flag)"},
        {"stay_alive", SettingStayAlive, "stay until the application has ended and return its status (flag)"},
        {"splash_seconds", SettingSplashSeconds, "length of the splash phase in seconds (number)"},
        {"bundled_java", SettingBundledJava, "Java executable shipped with the application (relative path)"},
        {"vm_options", SettingVmOptions, "VM arguments used when there is no .vmoptions file"},
        {"jar", SettingJar, "the application's jar file, given to Java after -jar"},
        {"wait_for_window", SettingWaitForWindow, "end the splash at the application's first window (flag)"},
        {"working_dir", SettingWorkingDirectory, "working directory, relative to the launcher's folder"},
        {"min_version", SettingMinimumVersion, "minimum Java version"},
        {"jdk_required", SettingJdkRequired, "a Java development kit is required (flag)"},
        {"pass_arguments", SettingPassArguments, "the launcher's arguments follow the jar (flag)"},
        {"max_version", SettingMaximumVersion, "highest Java version that may run the application"},
        {"console", SettingConsole, "a console program for command-line applications (flag)"},
        {"startup_check_seconds", SettingStartupCheckSeconds, "seconds in which a failed start is reported (number)"},
        {"download_url", SettingDownloadUrl, "address the cannot-start dialog links to"},
        {"restart_on_exit", SettingRestartOnExit, "exit statuses that start the application again (list)"},
        {"single_instance", SettingSingleInstance, "a second start brings the running application forward (flag)"},
    };
    return keys;
}

const std::vector<MetadataKey>& metadataKeys() {
    static const std::vector<MetadataKey> keys = {
        {"icon", "icon file (.ico) shown for the executable, relative to the settings file"},
        {"product_name", "product name in the version resource"},
        {"description", "file description in the version resource (shown by the task manager)"},
        {"version", "file and product version, up to four numbers: 1.2.3.4"},
        {"company", "company name in the version resource"},
        {"copyright", "copyright notice in the version resource"},
    };
    return keys;
}

std::optional<std::vector<unsigned>> parseFileVersion(const std::string& text) {
    std::vector<unsigned> parts;
    std::string::size_type at = 0;
    while (true) {
        std::string::size_type end = text.find('.', at);
        std::string part = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        unsigned value = static_cast<unsigned>(std::stoul(part));
        if (value > 65535) return std::nullopt;
        parts.push_back(value);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    if (parts.size() > 4) return std::nullopt;
    parts.resize(4, 0);
    return parts;
}

Result<LauncherConfiguration> parseSettings(const std::string& text) {
    LauncherConfiguration configuration;
    std::string::size_type at = 0;
    int lineNumber = 0;
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
            return Failure{0, "line " + std::to_string(lineNumber) + ": expected key=value, found \"" + line + "\""};
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        const SettingKey* known = nullptr;
        for (const SettingKey& candidate : settingKeys())
            if (key == candidate.name) known = &candidate;
        bool metadata = false;
        for (const MetadataKey& candidate : metadataKeys())
            if (key == candidate.name) metadata = true;
        // Lengths are stored in 16 bits: a string table entry holds at most 65,535 UTF-16 units,
        // and the version resource's texts must leave room for its own 16-bit sizes.
        std::size_t units = utf16FromUtf8(value).size();
        std::size_t limit = metadata ? MaxMetadataLength : MaxSettingLength;
        if (units > limit)
            return Failure{0, "line " + std::to_string(lineNumber) + ": the value of " + key + " is longer than " +
                                  std::to_string(limit) + " characters"};
        if (metadata) {
            if (key == "version" && !value.empty() && !parseFileVersion(value))
                return Failure{0, "line " + std::to_string(lineNumber) + ": version \"" + value +
                                          "\" is not up to four numbers from 0 to 65535 separated by dots"};
            if (value.empty())
                configuration.metadata.erase(key);
            else
                configuration.metadata[key] = value;
            continue;
        }
        if (!known) return Failure{0, "line " + std::to_string(lineNumber) + ": unknown key \"" + key + "\""};
        if (value.empty())
            configuration.strings.erase(known->id);
        else
            configuration.strings[known->id] = value;
    }
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
