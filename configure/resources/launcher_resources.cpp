#include "configure/resources/launcher_resources.h"

#include "configure/resources/file_io.h"

#include "configure/resources/executable_metadata.h"

namespace {

bool tooLarge(const std::string& path, std::uintmax_t limit) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(pathOf(path), error);
    return !error && size > limit;
}

} // namespace

Result<std::vector<Resource>> loadLauncherResources(const std::optional<std::string>& settingsPath,
                                                    const std::optional<std::string>& splashPath) {
    LauncherConfiguration configuration = exampleConfiguration();
    if (settingsPath) {
        if (tooLarge(*settingsPath, MaxSettingsFileSize)) return Failure{0, *settingsPath + ": the settings file is larger than 8 MiB"};
        std::optional<Bytes> text = readFileBytes(*settingsPath);
        if (!text) return Failure{0, *settingsPath + ": cannot read the settings file"};
        Result<LauncherConfiguration> parsed = parseSettings(std::string(text->begin(), text->end()));
        if (!parsed) return Failure{0, *settingsPath + ": " + parsed.failure().what};
        configuration = std::move(parsed.value());
    }
    Bytes splash = defaultSplashBitmap();
    if (splashPath) {
        if (tooLarge(*splashPath, MaxSplashFileSize)) return Failure{0, *splashPath + ": the splash picture is larger than 16 MiB"};
        std::optional<Bytes> picture = readFileBytes(*splashPath);
        if (!picture || picture->empty()) return Failure{0, *splashPath + ": cannot read the splash picture"};
        splash = *picture;
    }
    Bytes icon = defaultIconFile();
    auto iconSetting = configuration.metadata.find("icon");
    if (iconSetting != configuration.metadata.end()) {
        // Relative to the settings file, so a settings file and its icon travel together.
        std::string path = iconSetting->second;
        bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
        if (!absolute && settingsPath) {
            std::string::size_type slash = settingsPath->find_last_of("/\\");
            if (slash != std::string::npos) path = settingsPath->substr(0, slash + 1) + path;
        }
        if (tooLarge(path, MaxIconFileSize)) return Failure{0, path + ": the icon file is larger than 1 MiB"};
        std::optional<Bytes> file = readFileBytes(path);
        if (!file) return Failure{0, path + ": cannot read the icon file"};
        icon = *file;
    }
    Result<std::vector<Resource>> icons = iconResources(icon);
    if (!icons) return Failure{0, "icon: " + icons.failure().what};
    std::vector<Resource> resources = stringTableResources(configuration);
    resources.push_back(Resource{ResourceTypeBitmap, SplashResourceId, 0, splash});
    resources.insert(resources.end(), icons.value().begin(), icons.value().end());
    resources.push_back(versionResource(configuration.metadata));
    resources.push_back(manifestResource());
    return resources;
}
