#include <windows.h>

#include "base/text_encoding.h"
#include "launcher/launch_sequence.h"

namespace {

// The show value the launcher's starter gave, for the application; -1 when it gave none, which
// wWinMain's SW_SHOWDEFAULT stands for and which STARTUPINFO cannot carry.
int showCommandGiven() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
}

} // namespace

// The wide entry point: the command line arrives whole, in any language.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    return runLauncher(instance, narrow(std::wstring(commandLine ? commandLine : L"")), showCommandGiven());
}
