#pragma once

#include <string>

// The launcher's own switches. Only a command-line tail whose first non-blank character is a
// hyphen or a slash can be a switch (a document path never is); within such a tail a switch
// counts only when it is the whole rest of the line after the first hyphen or slash ("-c" or
// "/d", any case), blanks behind it ignored. Both modes judge a switch tail alike.
enum class SwitchAction {
    None,          // no switch: run normally
    ConsoleJava,   // -c: start java.exe instead of javaw.exe
    DebugLog,      // -d: write the application's output to log.txt
    ShowUsage,     // anything else: show the usage help and end with 0
};

// Steps over one character of the command line; a double-byte character is one step.
using NextCharFunction = const char* (*)(const char*);

const char* findOneOf(const char* text, const char* set, NextCharFunction next);
SwitchAction scanSwitches(const char* commandLine, NextCharFunction next);

// What the command-line tail asks for. With `passArguments` only the exact tails -c, /c, -d and
// /d (any case) are the launcher's; any other tail goes to the application as it was given.
struct CommandLineTail {
    SwitchAction action = SwitchAction::None;
    std::string applicationArguments;
};
CommandLineTail readCommandLineTail(const char* tail, bool passArguments, NextCharFunction next);

extern const char* const UsageText;
