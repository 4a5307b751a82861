#include "launcher/switches.h"

#include <cctype>

const char* const UsageText =
    "Options: \n"
    "use -c or /c to run java with console window\n"
    "use -d or /d to get output to log file\n"
    "use -h, /h, -? or /? to get help about usage.";

const char* findOneOf(const char* text, const char* set, NextCharFunction next) {
    if (!text) return nullptr;
    for (const char* at = text; *at; at = next(at)) {
        for (const char* candidate = set; *candidate; candidate = next(candidate)) {
            if (*at == *candidate) return next(at);
        }
    }
    return nullptr;
}

namespace {

// The whole rest of the line must be the one letter, in either case.
bool restIs(const char* rest, char letter) {
    return rest[0] != '\0' && rest[1] == '\0' &&
           std::tolower(static_cast<unsigned char>(rest[0])) == letter;
}

} // namespace

SwitchAction scanSwitches(const char* commandLine, NextCharFunction next) {
    const char* cursor = commandLine;
    while ((cursor = findOneOf(cursor, "-/", next)) != nullptr) {
        if (restIs(cursor, 'c')) return SwitchAction::ConsoleJava;
        if (restIs(cursor, 'd')) return SwitchAction::DebugLog;
        return SwitchAction::ShowUsage;
    }
    return SwitchAction::None;
}
