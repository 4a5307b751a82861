// Writes the resource file of a configured launcher: its string table from a settings file
// and its splash pictures. make-launcher links the result into the launcher. With --key-table it
// writes the settings' key table instead, for the Maven plugin and the tests.
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "configure/resources/file_io.h"
#include "configure/resources/launcher_resources.h"
#include "configure/resources/res_file.h"
#include "settings_contract/setting_ids.h"
#include "settings_contract/setting_keys.h"

namespace {

// 0 when written; else 1, the reason on standard error.
int reportWrite(const Result<void>& written) {
    if (written) return 0;
    std::fprintf(stderr, "launcher-resgen: %s\n", written.failure().what.c_str());
    return 1;
}

int writeKeyTable(const std::string& path) {
    std::string text = keyTableText();
    return reportWrite(writeFileBytes(path, Bytes(text.begin(), text.end())));
}

int generate(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--key-table") == 0) return writeKeyTable(argv[2]);
    LauncherInputs inputs;
    std::optional<std::string> out, subsystemOut;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--settings" && hasValue) inputs.settings = argv[++i];
        else if (arg == "--splash" && hasValue) inputs.splash = argv[++i];
        else if (arg == "--splash-2x" && hasValue) inputs.splashHighDpi = argv[++i];
        else if (arg == "--out" && hasValue) out = argv[++i];
        else if (arg == "--subsystem-out" && hasValue) subsystemOut = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: launcher-resgen [--settings FILE] [--splash PICTURE] [--splash-2x PICTURE] --out FILE.res\n"
                         "                       [--subsystem-out FILE]\n"
                         "       launcher-resgen --key-table FILE\n");
            return 2;
        }
    }
    if (!out) {
        std::fprintf(stderr, "launcher-resgen: --out is required\n");
        return 2;
    }
    Result<LauncherConfiguration> configuration = readConfiguration(inputs.settings);
    Result<std::vector<Resource>> loaded =
        configuration ? loadLauncherResources(configuration.value(), inputs) : Result<std::vector<Resource>>(configuration.failure());
    if (!loaded) {
        std::fprintf(stderr, "launcher-resgen: %s\n", loaded.failure().what.c_str());
        return 1;
    }
    if (int failed = reportWrite(writeFileBytes(*out, resFileBytes(loaded.value())))) return failed;
    // The subsystem the linker writes: a console program when the settings say so, read as the
    // settings reader reads them (any line end, a byte-order mark).
    bool console = configuration.value().strings.count(SettingConsole) != 0;
    std::string subsystem = console ? "console" : "windows";
    return subsystemOut ? reportWrite(writeFileBytes(*subsystemOut, Bytes(subsystem.begin(), subsystem.end()))) : 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return generate(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "launcher-resgen: not enough memory\n");
        return 1;
    }
}
