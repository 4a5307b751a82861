// Starts command lines again and again and prints, for each, the milliseconds from its start to
// the first visible window of the test-double application (window class "FakeJavaWindow"):
// window_timer ROUNDS, with the command lines in RUN_TIMER_COMMAND_1, RUN_TIMER_COMMAND_2, ...
// Each round runs every command once, in order, and prints one line "round t1 t2 ...". Before
// the next run it waits until the command has ended and the application's window has gone.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD GiveUpMilliseconds = 30000;

std::vector<std::wstring> commandLines() {
    std::vector<std::wstring> lines;
    static wchar_t command[32768];
    for (int i = 1;; ++i) {
        std::wstring name = L"RUN_TIMER_COMMAND_" + std::to_wstring(i);
        DWORD length = GetEnvironmentVariableW(name.c_str(), command, 32768);
        if (length == 0 || length >= 32768) return lines;
        lines.emplace_back(command, length);
    }
}

bool applicationWindowVisible() {
    HWND window = FindWindowW(L"FakeJavaWindow", nullptr);
    return window && IsWindowVisible(window);
}

// Milliseconds to the application's first visible window; negative when there is none.
double timeToWindow(std::wstring commandLine, const LARGE_INTEGER& frequency) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER begin, now;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    double found = -1;
    DWORD started = GetTickCount();
    while (found < 0 && GetTickCount() - started < GiveUpMilliseconds) {
        if (applicationWindowVisible()) {
            QueryPerformanceCounter(&now);
            found = 1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
        } else {
            Sleep(1);
        }
    }
    WaitForSingleObject(info.hProcess, GiveUpMilliseconds);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    while (FindWindowW(L"FakeJavaWindow", nullptr) && GetTickCount() - started < 2 * GiveUpMilliseconds) Sleep(20);
    return found;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::wstring> commands = commandLines();
    if (argc < 2 || commands.empty()) {
        std::fprintf(stderr, "usage: RUN_TIMER_COMMAND_1=... [RUN_TIMER_COMMAND_2=...] window_timer ROUNDS\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int round = 0; round < std::atoi(argv[1]); ++round) {
        std::printf("round");
        for (const std::wstring& command : commands) {
            double milliseconds = timeToWindow(command, frequency);
            if (milliseconds < 0) {
                std::fprintf(stderr, "no window from command %d\n", static_cast<int>(&command - commands.data()) + 1);
                return 1;
            }
            std::printf(" %.1f", milliseconds);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
