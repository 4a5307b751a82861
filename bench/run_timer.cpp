// Starts command lines again and again, waiting for each run to end, and prints wall times in
// milliseconds: run_timer ROUNDS, with the command lines in the environment variables
// RUN_TIMER_COMMAND_1, RUN_TIMER_COMMAND_2, ... (so that no quoting stands between them and the
// system). Each round runs every command once, in order, so that slow and fast phases of the
// machine fall on all of them alike; each round prints one line "round t1 t2 ...".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> commandLines() {
    std::vector<std::string> lines;
    static char command[32768];
    for (int i = 1;; ++i) {
        std::string name = "RUN_TIMER_COMMAND_" + std::to_string(i);
        DWORD length = GetEnvironmentVariableA(name.c_str(), command, sizeof command);
        if (length == 0 || length >= sizeof command) return lines;
        lines.emplace_back(command, length);
    }
}

constexpr DWORD SettleLimitMilliseconds = 30000;
constexpr DWORD SettleMilliseconds = 100;

// Waits until every process of the job has ended: an application the command left running
// would otherwise still be starting while the next command is timed.
void waitUntilEmpty(HANDLE job) {
    DWORD started = GetTickCount();
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    while (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, nullptr) &&
           accounting.ActiveProcesses > 0 && GetTickCount() - started < SettleLimitMilliseconds)
        Sleep(5);
}

// Milliseconds from the start of the command line to the end of its process; negative when it
// cannot be started. Returns once the processes it started have ended as well.
double timedRun(const std::string& commandLine, const LARGE_INTEGER& frequency) {
    std::vector<char> modifiable(commandLine.begin(), commandLine.end());
    modifiable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    if (!job || !CreateProcessA(nullptr, modifiable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                &startup, &info)) {
        if (job) CloseHandle(job);
        return -1;
    }
    bool inJob = AssignProcessToJobObject(job, info.hProcess) != FALSE;
    ResumeThread(info.hThread);
    WaitForSingleObject(info.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    if (inJob) waitUntilEmpty(job);
    Sleep(SettleMilliseconds); // ended processes are still taken down by the system meanwhile
    CloseHandle(job);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> commands = commandLines();
    if (argc < 2 || commands.empty()) {
        std::fprintf(stderr, "usage: RUN_TIMER_COMMAND_1=... [RUN_TIMER_COMMAND_2=...] run_timer ROUNDS\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int round = 0; round < std::atoi(argv[1]); ++round) {
        std::printf("round");
        for (const std::string& command : commands) {
            double milliseconds = timedRun(command, frequency);
            if (milliseconds < 0) {
                std::fprintf(stderr, "cannot start: %s\n", command.c_str());
                return 1;
            }
            std::printf(" %.1f", milliseconds);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
