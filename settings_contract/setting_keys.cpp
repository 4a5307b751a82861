#include "settings_contract/setting_keys.h"

#include <cstdint>

#include "settings_contract/java_version.h"

namespace {

constexpr ValueRule Text{ValueKind::Text};
constexpr ValueRule Flag{ValueKind::Flag};
constexpr ValueRule JavaVersion{ValueKind::JavaVersion};
// The launcher reads numbers into a signed 32-bit int.
constexpr ValueRule SplashSeconds{ValueKind::Number, INT32_MIN, INT32_MAX};
constexpr ValueRule StartupCheckSeconds{ValueKind::Number, 0, MaxStartupCheckSeconds};

} // namespace

const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = {
        {"splash", SettingSplash, Flag, "off", "show the splash picture while the application starts (flag)"},
        {"stay_alive", SettingStayAlive, Flag, "off", "stay until the application has ended and return its status (flag)"},
        {"splash_seconds", SettingSplashSeconds, SplashSeconds, "2", "length of the splash phase in seconds (number)"},
        {"bundled_java", SettingBundledJava, Text, "none", "Java executable shipped with the application (relative path)"},
        {"vm_options", SettingVmOptions, Text, "none", "VM arguments used when there is no .vmoptions file"},
        {"jar", SettingJar, Text, "none", "the application's jar file, given to Java after -jar"},
        {"wait_for_window", SettingWaitForWindow, Flag, "off", "end the splash at the application's first window (flag)"},
        {"working_dir", SettingWorkingDirectory, Text, "the launcher's folder",
         "working directory, relative to the launcher's folder"},
        {"min_version", SettingMinimumVersion, JavaVersion, DefaultMinimumVersion, "minimum Java version"},
        {"jdk_required", SettingJdkRequired, Flag, "off", "a Java development kit is required (flag)"},
        {"pass_arguments", SettingPassArguments, Flag, "off", "the launcher's arguments follow the jar (flag)"},
        {"max_version", SettingMaximumVersion, JavaVersion, "none", "highest Java version that may run the application"},
        {"console", SettingConsole, Flag, "off", "a console program for command-line applications (flag)"},
        {"startup_check_seconds", SettingStartupCheckSeconds, StartupCheckSeconds, "10",
         "seconds in which a failed start is reported (number, 0 turns the check off)"},
        {"download_url", SettingDownloadUrl, {ValueKind::WebAddress}, JavaDownloadUrl,
         "address the cannot-start dialog links to"},
        {"restart_on_exit", SettingRestartOnExit, {ValueKind::ExitStatuses}, "none",
         "exit statuses that start the application again (list)"},
        {"single_instance", SettingSingleInstance, Flag, "off", "a second start brings the running application forward (flag)"},
        {"startup_cache", SettingStartupCache, Flag, "off", "a startup cache made on the user's PC for the runtime (flag)"},
    };
    return keys;
}

const std::vector<SettingKey>& metadataKeys() {
    static const std::vector<SettingKey> keys = {
        {"icon", 0, Text, "a neutral window icon", "icon file (.ico) shown for the executable, relative to the settings file"},
        {"product_name", 0, Text, "Java Application", "product name in the version resource"},
        {"description", 0, Text, "the product name", "file description in the version resource (shown by the task manager)"},
        {"version", 0, {ValueKind::FileVersion}, "1.0.0.0", "file and product version, up to four numbers: 1.2.3.4"},
        {"company", 0, Text, "empty", "company name in the version resource"},
        {"copyright", 0, Text, "empty", "copyright notice in the version resource"},
    };
    return keys;
}

const SettingKey* findSettingKey(const std::string& name) {
    for (const std::vector<SettingKey>* table : {&settingKeys(), &metadataKeys()})
        for (const SettingKey& key : *table)
            if (name == key.name) return &key;
    return nullptr;
}

std::string keyTableText() {
    std::string text = "key\tid\tkind\tleast\tmost\twhen_absent\n";
    for (const std::vector<SettingKey>* table : {&settingKeys(), &metadataKeys()})
        for (const SettingKey& key : *table) {
            bool number = key.rule.kind == ValueKind::Number;
            text += std::string(key.name) + "\t" + std::to_string(key.id) + "\t" + valueKindName(key.rule.kind) + "\t" +
                    (number ? std::to_string(key.rule.least) : "") + "\t" + (number ? std::to_string(key.rule.most) : "") +
                    "\t" + key.whenAbsent + "\n";
        }
    return text;
}
