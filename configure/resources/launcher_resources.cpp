#include "configure/resources/launcher_resources.h"

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
    if (path) {
        Result<Bytes> file = readInputFile(*path, IconFile);
        if (!file) return file.failure();
        icon = std::move(file.value());
    }
    Result<std::vector<Resource>> icons = iconResources(icon);
    if (!icons) return Failure{0, path.value_or("icon") + ": " + icons.failure().what};
    resources.insert(resources.end(), icons.value().begin(), icons.value().end());
    resources.push_back(versionResource(configuration.metadata));
    resources.push_back(manifestResource());
    return resources;
}
