#include "tools/resources/launcher_resources.h"

#include "tools/resources/file_io.h"

#include "tools/resources/executable_metadata.h"

LauncherResources loadLauncherResources(const std::optional<std::string>& settingsPath,
                                        const std::optional<std::string>& splashPath) {
    LauncherResources result;
    LauncherConfiguration configuration = exampleConfiguration();
    if (settingsPath) {
        std::optional<Bytes> text = readFileBytes(*settingsPath);
        if (!text) {
            result.error = *settingsPath + ": cannot read the settings file";
            return result;
        }
        SettingsResult parsed = parseSettings(std::string(text->begin(), text->end()));
        if (!parsed.configuration) {
            result.error = *settingsPath + ": " + parsed.error;
            return result;
        }
        configuration = *parsed.configuration;
    }
    Bytes splash = defaultSplashBitmap();
    if (splashPath) {
        std::optional<Bytes> picture = readFileBytes(*splashPath);
        if (!picture || picture->empty()) {
            result.error = *splashPath + ": cannot read the splash picture";
            return result;
        }
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
        std::optional<Bytes> file = readFileBytes(path);
        if (!file) {
            result.error = path + ": cannot read the icon file";
            return result;
        }
        icon = *file;
    }
    std::string iconError;
    std::optional<std::vector<Resource>> icons = iconResources(icon, iconError);
    if (!icons) {
        result.error = "icon: " + iconError;
        return result;
    }
    result.resources = stringTableResources(configuration);
    result.resources.push_back(Resource{ResourceTypeBitmap, SplashResourceId, 0, splash});
    result.resources.insert(result.resources.end(), icons->begin(), icons->end());
    result.resources.push_back(versionResource(configuration.metadata));
    result.resources.push_back(manifestResource());
    return result;
}
