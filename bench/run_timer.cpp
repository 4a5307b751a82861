// Starts a command line again and again, waiting for each run to end, and prints the median
// and the mean wall time in milliseconds: run_timer RUNS, with the command line in the
// environment variable RUN_TIMER_COMMAND (so that no quoting stands between it and the system).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    static char command[32768];
    if (argc < 2 || !GetEnvironmentVariableA("RUN_TIMER_COMMAND", command, sizeof command)) {
        std::fprintf(stderr, "usage: RUN_TIMER_COMMAND=... run_timer RUNS\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        std::vector<char> modifiable(command, command + std::strlen(command) + 1);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        if (!CreateProcessA(nullptr, modifiable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            std::fprintf(stderr, "cannot start: %s\n", command);
            return 1;
        }
        WaitForSingleObject(info.hProcess, INFINITE);
        QueryPerformanceCounter(&end);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        times.push_back(1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart);
        Sleep(50); // let the started application end before the next run
    }
    std::sort(times.begin(), times.end());
    double mean = 0;
    for (double t : times) mean += t;
    std::printf("median=%.1f mean=%.1f\n", times[times.size() / 2], mean / times.size());
    return 0;
}
