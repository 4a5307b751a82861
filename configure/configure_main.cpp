// Configures a prebuilt launcher without a compiler: writes the settings (string table), the
// splash picture, the icon, the version texts and the manifest into a copy of the executable.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/setting_ids.h"
#include "configure/resources/file_io.h"
#include "configure/resources/launcher_resources.h"
#include "configure/resources/pe_image.h"
#include "configure/resources/resource_merge.h"

namespace {

const char* const Usage =
    "usage: launcher-configure --launcher LAUNCHER.exe --settings FILE [--splash PICTURE]\n"
    "                          (--out NEW.exe | --in-place)\n"
    "Writes a copy of a prebuilt launcher (i686 or x86_64) configured by the settings file.\n";

int refuse(const std::string& message) {
    std::fprintf(stderr, "launcher-configure: %s\n", message.c_str());
    return 1;
}

bool samePath(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::exists(b, error) && std::filesystem::equivalent(a, b, error);
}

// The console flag as the configured string table holds it.
bool consoleSetting(const ResourceTree& tree) {
    const Bytes* block = tree.find(ResourceTypeString, SettingConsole / 16 + 1);
    return block && !stringBlockTexts(*block)[SettingConsole % 16].empty();
}

} // namespace

int main(int argc, char** argv) {
    std::optional<std::string> launcher, settings, splash, out;
    bool inPlace = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--launcher" && hasValue) launcher = argv[++i];
        else if (arg == "--settings" && hasValue) settings = argv[++i];
        else if (arg == "--splash" && hasValue) splash = argv[++i];
        else if (arg == "--out" && hasValue) out = argv[++i];
        else if (arg == "--in-place") inPlace = true;
        else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    if (!launcher || !settings || (out.has_value() == inPlace)) {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::string target = inPlace ? *launcher : *out;
    if (!inPlace && samePath(*launcher, target))
        return refuse("the output is the launcher itself; use --in-place to change it in place");

    Result<std::vector<Resource>> loaded = loadLauncherResources(settings, splash);
    if (!loaded) return refuse(loaded.failure().what);
    std::optional<Bytes> input = readFileBytes(*launcher);
    if (!input) return refuse(*launcher + ": cannot read the launcher");
    Result<PeImage> image = PeImage::parse(std::move(*input));
    if (!image) return refuse(*launcher + ": " + image.failure().what);
    ResourceTree tree = image.value().resources();
    applyLauncherResources(tree, loaded.value());
    Result<Bytes> configured = image.value().withResources(
        tree, consoleSetting(tree) ? PeImage::Subsystem::Console : PeImage::Subsystem::Window);
    if (!configured) return refuse(*launcher + ": " + configured.failure().what);

    // Written beside the target first, so a failure never leaves a half-written executable.
    std::string temporary = target + ".partial";
    if (!writeFileBytes(temporary, configured.value())) {
        std::remove(temporary.c_str());
        return refuse(target + ": cannot write the configured launcher");
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::remove(temporary.c_str());
        return refuse(target + ": " + renameError.message());
    }
    return 0;
}
