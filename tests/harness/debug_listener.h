#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Listens on the system's debug-output buffer and keeps the strings of one process, one
// entry per debugger string, in the order sent.
class DebugListener {
public:
    bool open();
    void follow(DWORD processId) { processId_ = processId; }
    // Takes the strings that arrived so far.
    std::vector<std::string> take();
    void close();

private:
    static DWORD WINAPI threadMain(LPVOID self);
    void run();

    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    HANDLE mapping_ = nullptr;
    const char* view_ = nullptr;
    HANDLE thread_ = nullptr;
    volatile LONG stopping_ = 0;
    volatile DWORD processId_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<std::string> received_;
};
