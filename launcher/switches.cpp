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

bool isSwitchMark(char c) { return c == '-' || c == '/'; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

const char* skipBlanks(const char* text) {
    while (isBlank(*text)) ++text;
    return text;
}

// The whole rest of the line must be the one letter, in either case; blanks behind it are no
// part of the switch (shortcuts and scripts often leave one), as with pass_arguments.
bool restIs(const char* rest, char letter) {
    if (!rest || rest[0] == '\0' || std::tolower(static_cast<unsigned char>(rest[0])) != letter) return false;
    const char* after = rest + 1;
    while (isBlank(*after)) ++after;
    return *after == '\0';
}

// -c, /c, -d or /d alone, blanks around it allowed.
SwitchAction exactSwitch(const char* tail) {
    std::string text = skipBlanks(tail);
    while (!text.empty() && isBlank(text.back())) text.pop_back();
    if (text.size() != 2 || !isSwitchMark(text[0])) return SwitchAction::None;
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[1])));
    if (letter == 'c') return SwitchAction::ConsoleJava;
    if (letter == 'd') return SwitchAction::DebugLog;
    return SwitchAction::None;
}

} // namespace

SwitchAction scanSwitches(const char* commandLine, NextCharFunction next) {
    if (!commandLine || !isSwitchMark(*skipBlanks(commandLine))) return SwitchAction::None;
    const char* rest = findOneOf(commandLine, "-/", next);
    if (restIs(rest, 'c')) return SwitchAction::ConsoleJava;
    if (restIs(rest, 'd')) return SwitchAction::DebugLog;
    return SwitchAction::ShowUsage;
}

CommandLineTail readCommandLineTail(const char* tail, bool passArguments, NextCharFunction next) {
    if (!passArguments) return CommandLineTail{scanSwitches(tail, next), std::string()};
    if (!tail || !*skipBlanks(tail)) return CommandLineTail{};
    SwitchAction own = exactSwitch(tail);
    if (own != SwitchAction::None) return CommandLineTail{own, std::string()};
    return CommandLineTail{SwitchAction::None, tail};
}
