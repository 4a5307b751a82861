#include <windows.h>

#include "base/text_encoding.h"
#include "launcher/launch_sequence.h"

// The wide entry point: the command line arrives whole, in any language.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    return runLauncher(instance, narrow(std::wstring(commandLine ? commandLine : L"")), showCommand);
}
