// Writes the resource file of a configured launcher: its string table from a settings file
// and its splash picture. make-launcher links the result into the launcher.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "configure/resources/file_io.h"
#include "configure/resources/launcher_resources.h"
#include "configure/resources/res_file.h"

int main(int argc, char** argv) {
    std::optional<std::string> settings, splash, out;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--settings" && hasValue) settings = argv[++i];
        else if (arg == "--splash" && hasValue) splash = argv[++i];
        else if (arg == "--out" && hasValue) out = argv[++i];
        else {
            std::fprintf(stderr, "usage: launcher-resgen [--settings FILE] [--splash PICTURE] --out FILE.res\n");
            return 2;
        }
    }
    if (!out) {
        std::fprintf(stderr, "launcher-resgen: --out is required\n");
        return 2;
    }
    Result<std::vector<Resource>> loaded = loadLauncherResources(settings, splash);
    if (!loaded) {
        std::fprintf(stderr, "launcher-resgen: %s\n", loaded.failure().what.c_str());
        return 1;
    }
    if (!writeFileBytes(*out, resFileBytes(loaded.value()))) {
        std::fprintf(stderr, "launcher-resgen: cannot write %s\n", out->c_str());
        return 1;
    }
    return 0;
}
