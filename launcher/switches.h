#pragma once

// The launcher's own switches. A hyphen or slash anywhere in the command line starts a switch,
// and a switch counts only when it is the whole rest of the line ("-c" or "/d", any case).
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

extern const char* const UsageText;
