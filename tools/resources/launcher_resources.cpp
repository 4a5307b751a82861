#include "tools/resources/launcher_resources.h"

#include "tools/resources/file_io.h"

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
    result.resources = stringTableResources(configuration);
    result.resources.push_back(Resource{ResourceTypeBitmap, SplashResourceId, 0, splash});
    return result;
}
