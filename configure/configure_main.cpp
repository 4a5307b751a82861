// Configures a prebuilt launcher without a compiler: writes the settings (string table), the
// splash picture, the icon, the version texts and the manifest into a copy of the executable.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/setting_ids.h"
#include "base/utf8.h"
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
    return std::filesystem::exists(pathOf(b), error) && std::filesystem::equivalent(pathOf(a), pathOf(b), error);
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(pathOf(path), ignored);
}

// The tool reads back what it wrote before anything is written: headers, sections, checksum,
// the resource tree and with it the string table must be exactly what was meant.
Result<void> checkOutput(const Bytes& output, const ResourceTree& meant, PeImage::Subsystem subsystem) {
    Result<PeImage> reread = PeImage::parse(output);
    if (!reread) return Failure{0, "the configured launcher would not read back (" + reread.failure().what + ")"};
    if (!(reread.value().resources() == meant)) return Failure{0, "the configured launcher's resources would differ"};
    if (reread.value().subsystem() != subsystem || !reread.value().checksumMatches())
        return Failure{0, "the configured launcher's headers would be wrong"};
    return {};
}

// The console flag as the configured string table holds it.
bool consoleSetting(const ResourceTree& tree) {
    const Bytes* block = tree.find(ResourceTypeString, SettingConsole / 16 + 1);
    return block && !stringBlockTexts(*block)[SettingConsole % 16].empty();
}

} // namespace

int configure(const std::vector<std::string>& argv) {
    int argc = static_cast<int>(argv.size());
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
    if (samePath(*settings, target)) return refuse("the output is the settings file");
    if (splash && samePath(*splash, target)) return refuse("the output is the splash picture");

    Result<std::vector<Resource>> loaded = loadLauncherResources(settings, splash);
    if (!loaded) return refuse(loaded.failure().what);
    std::optional<Bytes> input = readFileBytes(*launcher);
    if (!input) return refuse(*launcher + ": cannot read the launcher");
    Result<PeImage> image = PeImage::parse(std::move(*input));
    if (!image) return refuse(*launcher + ": " + image.failure().what);
    ResourceTree tree = image.value().resources();
    if (Result<void> applied = applyLauncherResources(tree, loaded.value()); !applied)
        return refuse(*launcher + ": " + applied.failure().what);
    PeImage::Subsystem subsystem = consoleSetting(tree) ? PeImage::Subsystem::Console : PeImage::Subsystem::Window;
    Result<Bytes> configured = image.value().withResources(tree, subsystem);
    if (!configured) return refuse(*launcher + ": " + configured.failure().what);
    if (Result<void> checked = checkOutput(configured.value(), tree, subsystem); !checked)
        return refuse(*launcher + ": " + checked.failure().what + "; nothing was written");

    // Written beside the target first, in a file of its own, so a failure never leaves a
    // half-written executable and never writes through a link or over another file.
    std::string temporary;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        std::string candidate = target + ".partial";
        if (attempt) candidate.append(1, '-').append(std::to_string(attempt));
        if (writeNewFile(candidate, configured.value())) temporary = candidate;
    }
    if (temporary.empty()) return refuse(target + ": cannot write the configured launcher beside it");
    std::error_code renameError;
    std::filesystem::rename(pathOf(temporary), pathOf(target), renameError);
    if (renameError) {
        removeFile(temporary);
        return refuse(target + ": " + renameError.message());
    }
    return 0;
}

#ifdef _WIN32
// Wide arguments: paths and names in any language reach the tool whole.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(argv[i]))));
    return configure(arguments);
}
#else
int main(int argc, char** argv) { return configure(std::vector<std::string>(argv, argv + argc)); }
#endif
