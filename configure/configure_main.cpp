// Configures a prebuilt launcher without a compiler: writes the settings (string table), the
// splash pictures, the icon, the version texts and the manifest into a copy of the executable.
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "settings_contract/setting_ids.h"
#include "base/utf8.h"
#include "configure/resources/file_io.h"
#include "configure/resources/launcher_resources.h"
#include "configure/resources/pe_image.h"
#include "configure/resources/resource_merge.h"
#include "configure/release_version.h"

namespace {

const char* const Usage =
    "usage: launcher-configure --launcher LAUNCHER.exe --settings FILE\n"
    "                          [--splash PICTURE [--splash-2x PICTURE] | --default-splash]\n"
    "                          (--out NEW.exe | --in-place)\n"
    "       launcher-configure --help | --version\n";

const char* const Help =
    "Writes a copy of a prebuilt launcher (i686 or x86_64) configured by the settings file.\n"
    "  --launcher LAUNCHER.exe  the prebuilt launcher (launcher-x86_64.exe or launcher-i686.exe)\n"
    "  --settings FILE          the settings file, one key=value a line (see example.settings)\n"
    "  --splash PICTURE         the splash picture (BMP, GIF, JPEG or PNG); needs splash=on\n"
    "  --splash-2x PICTURE      the same picture at twice the size, for high-DPI screens\n"
    "  --default-splash         with splash=on and no picture of your own: the launcher's own picture\n"
    "  --out NEW.exe            the configured launcher to write (never one of the inputs)\n"
    "  --in-place               change LAUNCHER.exe itself instead (it must be writable)\n"
    "  --help, --version        this text; the tool's and the launcher's version\n";

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
    bool inPlace = false, defaultSplash = false;
    LauncherInputs inputs;
};

// What the command line asks for: a launcher to configure, or help or the version alone.
struct Command {
    enum Kind { Configure, Help, Version, Wrong } kind = Configure;
    Arguments arguments;
    std::string wrong; // why the command line is wrong
};

Command readArguments(const std::vector<std::string>& argv) {
    std::optional<std::string> launcher, settings, out;
    Command command;
    Arguments& arguments = command.arguments;
    auto wrong = [&](std::string why) {
        command.kind = Command::Wrong;
        command.wrong = std::move(why);
        return command;
    };
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        bool hasValue = i + 1 < argv.size();
        if (arg == "--help" || arg == "-h") command.kind = Command::Help;
        else if (arg == "--version") command.kind = Command::Version;
        else if (arg == "--launcher" && hasValue) launcher = argv[++i];
        else if (arg == "--settings" && hasValue) settings = argv[++i];
        else if (arg == "--splash" && hasValue) arguments.inputs.splash = argv[++i];
        else if (arg == "--splash-2x" && hasValue) arguments.inputs.splashHighDpi = argv[++i];
        else if (arg == "--default-splash") arguments.defaultSplash = true;
        else if (arg == "--out" && hasValue) out = argv[++i];
        else if (arg == "--in-place") arguments.inPlace = true;
        else if (!hasValue && (arg == "--launcher" || arg == "--settings" || arg == "--splash" ||
                               arg == "--splash-2x" || arg == "--out"))
            return wrong(arg + " needs a value");
        else return wrong("unknown argument \"" + arg + "\"");
    }
    if (command.kind != Command::Configure) return command;
    if (!launcher) return wrong("--launcher is required");
    if (!settings) return wrong("--settings is required");
    if (out.has_value() == arguments.inPlace) return wrong("give either --out or --in-place");
    arguments.launcher = *launcher;
    arguments.inputs.settings = settings;
    arguments.target = arguments.inPlace ? *launcher : *out;
    return command;
}

// The output may be none of the inputs (compared as files, not as names): writing it would
// destroy what it is made from.
Result<void> checkTargetIsNoInput(const Arguments& arguments, const std::optional<std::string>& icon) {
    const std::string& target = arguments.target;
    if (!arguments.inPlace && samePath(arguments.launcher, target))
        return Failure{0, target + ": the output is the launcher itself; use --in-place to change it in place"};
    const std::pair<const std::optional<std::string>*, const char*> inputs[] = {
        {&arguments.inputs.settings, "the output is the settings file"},
        {&arguments.inputs.splash, "the output is the splash picture"},
        {&arguments.inputs.splashHighDpi, "the output is the high-DPI splash picture"},
        {&icon, "the output is the icon file"},
    };
    for (const auto& [path, message] : inputs)
        if (*path && samePath(**path, target)) return Failure{0, target + ": " + message};
    return {};
}

struct ConfiguredLauncher {
    Bytes bytes;
    bool is64Bit;
};

// The configured executable, read back and checked, or why it cannot be made.
Result<ConfiguredLauncher> configuredLauncher(const Arguments& arguments, const LauncherConfiguration& configuration) {
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
    return ConfiguredLauncher{std::move(configured.value()), image.value().is64Bit()};
}

// A read-only file stays read-only: the tool does not replace what its owner has protected.
Result<void> checkTargetIsWritable(const Arguments& arguments) {
    if (!isReadOnly(arguments.target)) return {};
    const std::string& target = arguments.target;
    if (arguments.inPlace)
        return Failure{0, target + ": the launcher is read-only, and --in-place would replace it; make it writable "
                                   "first (chmod u+w, or clear its read-only attribute) or write a copy with --out"};
    return Failure{0, target + ": the output exists and is read-only; make it writable first (chmod u+w, or clear "
                               "its read-only attribute) or write to another --out"};
}

// Written beside the target first, in a file of its own, so a failure never leaves a
// half-written executable and never writes through a link or over another file. A file it
// replaces keeps its permissions.
Result<void> writeTarget(const std::string& target, const Bytes& bytes) {
    std::string temporary;
    Failure reason;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        std::string candidate = target + ".partial";
        if (attempt) candidate.append(1, '-').append(std::to_string(attempt));
        Result<void> written = writeNewFile(candidate, bytes);
        if (written) temporary = candidate;
        else if (reason = written.failure(); !nameTaken(reason)) break;
    }
    if (temporary.empty() && nameTaken(reason)) reason.what = "every name for a file beside it is taken";
    if (temporary.empty())
        return Failure{reason.systemError, target + ": cannot write the configured launcher beside it (" + reason.what + ")"};
    std::error_code error;
    std::filesystem::file_status replaced = std::filesystem::status(pathOf(target), error);
    if (!error && std::filesystem::is_regular_file(replaced))
        std::filesystem::permissions(pathOf(temporary), replaced.permissions(), error);
    std::filesystem::rename(pathOf(temporary), pathOf(target), error);
    if (error) {
        removeFile(temporary);
        return Failure{0, target + ": cannot replace it with the configured launcher (" + error.message() + ")"};
    }
    return {};
}

// The one line a successful run prints: what was written, for which architecture, from which settings.
std::string successLine(const Arguments& arguments, bool is64Bit) {
    std::string line = arguments.inPlace ? "configured " + arguments.target + " in place" : "wrote " + arguments.target;
    line += std::string(" (") + (is64Bit ? "x86_64" : "i686") + " launcher) with the settings " + *arguments.inputs.settings;
    if (arguments.defaultSplash) line += " and the launcher's own splash picture";
    return line;
}

int configureLauncher(const std::vector<std::string>& argv) {
    Command command = readArguments(argv);
    switch (command.kind) {
    case Command::Help:
        std::fputs(Usage, stdout);
        std::fputs(Help, stdout);
        return 0;
    case Command::Version:
        std::printf("launcher-configure %s (configures launcher %s, x86_64 and i686)\n", ToolVersion, LauncherVersion);
        return 0;
    case Command::Wrong:
        std::fprintf(stderr, "launcher-configure: %s\n", command.wrong.c_str());
        std::fputs(Usage, stderr);
        return 2;
    case Command::Configure:
        break;
    }
    const Arguments& arguments = command.arguments;
    Result<LauncherConfiguration> configuration = readConfiguration(arguments.inputs.settings);
    if (!configuration) return refuse(configuration.failure().what);
    if (Result<void> splash = checkSplashInputs(configuration.value(), *arguments.inputs.settings, arguments.inputs,
                                                arguments.defaultSplash);
        !splash)
        return refuse(splash.failure().what);
    std::optional<std::string> icon = iconPath(configuration.value(), arguments.inputs.settings);
    if (Result<void> distinct = checkTargetIsNoInput(arguments, icon); !distinct)
        return refuse(distinct.failure().what);
    if (Result<void> writable = checkTargetIsWritable(arguments); !writable) return refuse(writable.failure().what);
    Result<ConfiguredLauncher> configured = configuredLauncher(arguments, configuration.value());
    if (!configured) return refuse(configured.failure().what);
    if (Result<void> written = writeTarget(arguments.target, configured.value().bytes); !written)
        return refuse(written.failure().what);
    std::printf("launcher-configure: %s\n", successLine(arguments, configured.value().is64Bit).c_str());
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
