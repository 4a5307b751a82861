// The least a launcher must do: start one command line and return. The benchmark measures the
// launcher against it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return 1;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return 0;
}
