#include "configure/resources/launcher_resources.h"

#include "settings_contract/setting_ids.h"

#include "configure/resources/executable_metadata.h"
#include "configure/resources/picture_check.h"

Result<LauncherConfiguration> readConfiguration(const std::optional<std::string>& settingsPath) {
    if (!settingsPath) return exampleConfiguration();
    Result<Bytes> text = readInputFile(*settingsPath, SettingsFile);
    if (!text) return text.failure();
    Result<LauncherConfiguration> parsed = parseSettings(std::string(text.value().begin(), text.value().end()));
    if (!parsed) return Failure{0, *settingsPath + ": " + parsed.failure().what};
    return parsed;
}

std::optional<std::string> iconPath(const LauncherConfiguration& configuration,
                                    const std::optional<std::string>& settingsPath) {
    auto iconSetting = configuration.metadata.find("icon");
    if (iconSetting == configuration.metadata.end()) return std::nullopt;
    // Relative to the settings file, so a settings file and its icon travel together.
    std::string path = iconSetting->second;
    bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
    if (!absolute && settingsPath) {
        std::string::size_type slash = settingsPath->find_last_of("/\\");
        if (slash != std::string::npos) path = settingsPath->substr(0, slash + 1) + path;
    }
    return path;
}

Result<void> checkSplashInputs(const LauncherConfiguration& configuration, const std::string& settingsName,
                               const LauncherInputs& inputs, bool defaultSplash) {
    auto line = configuration.lines.find("splash");
    bool splashOn = configuration.strings.count(SettingSplash) != 0;
    std::string where = settingsName + ": " + (line == configuration.lines.end() ? std::string()
                                                   : "line " + std::to_string(line->second) + ": ");
    const char* given = inputs.splash ? "--splash" : inputs.splashHighDpi ? "--splash-2x"
                                                   : defaultSplash ? "--default-splash" : nullptr;
    if (given && !splashOn)
        return Failure{0, where + given + " is given, but the settings leave the splash off, so the picture would "
                                      "never show; add splash=on to the settings or leave out " + given};
    if (defaultSplash && (inputs.splash || inputs.splashHighDpi))
        return Failure{0, "--default-splash is the launcher's own picture; it cannot go with --splash or --splash-2x"};
    if (inputs.splashHighDpi && !inputs.splash)
        return Failure{0, "--splash-2x is the high-DPI form of the --splash picture; give --splash too"};
    if (splashOn && !inputs.splash && !defaultSplash)
        return Failure{0, where + "splash is on, but no splash picture is given; add --splash PICTURE, or "
                                  "--default-splash to show the launcher's own picture"};
    return {};
}

namespace {

// A splash picture the launcher can show, stored as it is.
Result<Bytes> readSplashPicture(const std::string& path) {
    Result<Bytes> picture = readInputFile(path, SplashFile);
    if (!picture) return picture;
    if (picture.value().empty()) return Failure{0, path + ": cannot read the splash picture (the file is empty)"};
    if (Result<PictureFacts> checked = checkSplashPicture(picture.value()); !checked)
        return Failure{0, path + ": the splash picture is " + checked.failure().what};
    return picture;
}

} // namespace

Result<std::vector<Resource>> loadLauncherResources(const LauncherConfiguration& configuration,
                                                    const LauncherInputs& inputs) {
    std::vector<Resource> resources = stringTableResources(configuration);
    Bytes splash = defaultSplashBitmap();
    if (inputs.splash) {
        Result<Bytes> picture = readSplashPicture(*inputs.splash);
        if (!picture) return picture.failure();
        splash = std::move(picture.value());
    }
    resources.push_back(Resource{ResourceTypeBitmap, SplashResourceId, 0, std::move(splash)});
    if (inputs.splashHighDpi) {
        Result<Bytes> picture = readSplashPicture(*inputs.splashHighDpi);
        if (!picture) return picture.failure();
        resources.push_back(Resource{ResourceTypeBitmap, HighDpiSplashResourceId, 0, std::move(picture.value())});
    }
    Bytes icon = defaultIconFile();
    std::optional<std::string> path = iconPath(configuration, inputs.settings);
    // An icon that is refused is named with the settings line that asks for it.
    std::string iconLine;
    if (path && inputs.settings)
        iconLine = *inputs.settings + ": line " + std::to_string(configuration.lines.at("icon")) + ": ";
    if (path) {
        Result<Bytes> file = readInputFile(*path, IconFile);
        if (!file) return Failure{file.failure().systemError, iconLine + file.failure().what};
        icon = std::move(file.value());
    }
    Result<std::vector<Resource>> icons = iconResources(icon);
    if (!icons) return Failure{0, iconLine + path.value_or("icon") + ": " + icons.failure().what};
    resources.insert(resources.end(), icons.value().begin(), icons.value().end());
    resources.push_back(versionResource(configuration.metadata));
    resources.push_back(manifestResource());
    return resources;
}
