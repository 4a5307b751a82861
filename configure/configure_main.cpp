// Configures a prebuilt launcher without a compiler: writes the settings (string table), the
// splash pictures, the icon, the version texts and the manifest into a copy of the executable.
#include <cstdio>
#include <filesystem>
#include <new>
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
    "                          [--splash-2x PICTURE] (--out NEW.exe | --in-place)\n"
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
// the resource tree and with it the string table must be exactly what was meant, and every
// section but the resources and relocations must be the input's, byte for byte.
Result<void> checkOutput(const Bytes& output, const PeImage& input, const ResourceTree& meant,
                         PeImage::Subsystem subsystem) {
    Result<PeImage> reread = PeImage::parse(output);
    if (!reread) return Failure{0, "the configured launcher would not read back (" + reread.failure().what + ")"};
    if (!(reread.value().resources() == meant)) return Failure{0, "the configured launcher's resources would differ"};
    if (reread.value().subsystem() != subsystem || !reread.value().checksumMatches())
        return Failure{0, "the configured launcher's headers would be wrong"};
    if (Result<void> kept = reread.value().keepsSectionsOf(input); !kept)
        return Failure{0, "the configured launcher's " + kept.failure().what};
    return {};
}

// The console flag as the configured string table holds it.
bool consoleSetting(const ResourceTree& tree) {
    const Bytes* block = tree.find(ResourceTypeString, SettingConsole / 16 + 1);
    return block && !stringBlockTexts(*block)[SettingConsole % 16].empty();
}

struct Arguments {
    std::string launcher, target;
    bool inPlace = false;
    LauncherInputs inputs;
};

std::optional<Arguments> readArguments(const std::vector<std::string>& argv) {
    std::optional<std::string> launcher, settings, out;
    Arguments arguments;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        bool hasValue = i + 1 < argv.size();
        if (arg == "--launcher" && hasValue) launcher = argv[++i];
        else if (arg == "--settings" && hasValue) settings = argv[++i];
        else if (arg == "--splash" && hasValue) arguments.inputs.splash = argv[++i];
        else if (arg == "--splash-2x" && hasValue) arguments.inputs.splashHighDpi = argv[++i];
        else if (arg == "--out" && hasValue) out = argv[++i];
        else if (arg == "--in-place") arguments.inPlace = true;
        else return std::nullopt;
    }
    if (!launcher || !settings || out.has_value() == arguments.inPlace) return std::nullopt;
    arguments.launcher = *launcher;
    arguments.inputs.settings = settings;
    arguments.target = arguments.inPlace ? *launcher : *out;
    return arguments;
}

// The output may be none of the inputs (compared as files, not as names): writing it would
// destroy what it is made from.
Result<void> checkTargetIsNoInput(const Arguments& arguments, const std::optional<std::string>& icon) {
    const std::string& target = arguments.target;
    if (!arguments.inPlace && samePath(arguments.launcher, target))
        return Failure{0, "the output is the launcher itself; use --in-place to change it in place"};
    const std::pair<const std::optional<std::string>*, const char*> inputs[] = {
        {&arguments.inputs.settings, "the output is the settings file"},
        {&arguments.inputs.splash, "the output is the splash picture"},
        {&arguments.inputs.splashHighDpi, "the output is the high-DPI splash picture"},
        {&icon, "the output is the icon file"},
    };
    for (const auto& [path, message] : inputs)
        if (*path && samePath(**path, target)) return Failure{0, message};
    return {};
}

// The configured executable, read back and checked, or why it cannot be made.
Result<Bytes> configuredLauncher(const Arguments& arguments, const LauncherConfiguration& configuration) {
    Result<std::vector<Resource>> loaded = loadLauncherResources(configuration, arguments.inputs);
    if (!loaded) return loaded.failure();
    Result<Bytes> input = readInputFile(arguments.launcher, LauncherFile);
    if (!input) return input.failure();
    Result<PeImage> image = PeImage::parse(std::move(input.value()));
    if (!image) return Failure{0, arguments.launcher + ": " + image.failure().what};
    ResourceTree tree = image.value().resources();
    if (Result<void> applied = applyLauncherResources(tree, loaded.value()); !applied)
        return Failure{0, arguments.launcher + ": " + applied.failure().what};
    PeImage::Subsystem subsystem = consoleSetting(tree) ? PeImage::Subsystem::Console : PeImage::Subsystem::Window;
    Result<Bytes> configured = image.value().withResources(tree, subsystem);
    if (!configured) return Failure{0, arguments.launcher + ": " + configured.failure().what};
    if (Result<void> checked = checkOutput(configured.value(), image.value(), tree, subsystem); !checked)
        return Failure{0, arguments.launcher + ": " + checked.failure().what + "; nothing was written"};
    return configured;
}

// Written beside the target first, in a file of its own, so a failure never leaves a
// half-written executable and never writes through a link or over another file.
Result<void> writeTarget(const std::string& target, const Bytes& bytes) {
    std::string temporary;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        std::string candidate = target + ".partial";
        if (attempt) candidate.append(1, '-').append(std::to_string(attempt));
        if (writeNewFile(candidate, bytes)) temporary = candidate;
    }
    if (temporary.empty()) return Failure{0, target + ": cannot write the configured launcher beside it"};
    std::error_code renameError;
    std::filesystem::rename(pathOf(temporary), pathOf(target), renameError);
    if (renameError) {
        removeFile(temporary);
        return Failure{0, target + ": " + renameError.message()};
    }
    return {};
}

int configureLauncher(const std::vector<std::string>& argv) {
    std::optional<Arguments> arguments = readArguments(argv);
    if (!arguments) {
        std::fputs(Usage, stderr);
        return 2;
    }
    Result<LauncherConfiguration> configuration = readConfiguration(arguments->inputs.settings);
    if (!configuration) return refuse(configuration.failure().what);
    std::optional<std::string> icon = iconPath(configuration.value(), arguments->inputs.settings);
    if (Result<void> distinct = checkTargetIsNoInput(*arguments, icon); !distinct)
        return refuse(distinct.failure().what);
    Result<Bytes> configured = configuredLauncher(*arguments, configuration.value());
    if (!configured) return refuse(configured.failure().what);
    if (Result<void> written = writeTarget(arguments->target, configured.value()); !written)
        return refuse(written.failure().what);
    return 0;
}

} // namespace

int configure(const std::vector<std::string>& argv) {
    // Memory is bounded by the inputs' sizes; should it still run out, that is a refusal too.
    try {
        return configureLauncher(argv);
    } catch (const std::bad_alloc&) {
        return refuse("not enough memory to configure the launcher; nothing was written");
    }
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
