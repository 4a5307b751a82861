#include "debug_listener.h"

#include <cstring>

bool DebugListener::open() {
    InitializeCriticalSection(&lock_);
    bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER");
    if (!bufferReady_ || !dataReady_ || !mapping_) return false;
    view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 4096));
    if (!view_) return false;
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    SetEvent(bufferReady_);
    return thread_ != nullptr;
}

DWORD WINAPI DebugListener::threadMain(LPVOID self) {
    static_cast<DebugListener*>(self)->run();
    return 0;
}

void DebugListener::run() {
    while (!stopping_) {
        if (WaitForSingleObject(dataReady_, 50) != WAIT_OBJECT_0) continue;
        DWORD sender = 0;
        std::memcpy(&sender, view_, sizeof sender);
        const char* text = view_ + sizeof(DWORD);
        std::string message(text, strnlen(text, 4096 - sizeof(DWORD)));
        if (sender == processId_) {
            EnterCriticalSection(&lock_);
            received_.push_back(message);
            LeaveCriticalSection(&lock_);
        }
        SetEvent(bufferReady_);
    }
}

std::vector<std::string> DebugListener::take() {
    EnterCriticalSection(&lock_);
    std::vector<std::string> taken;
    taken.swap(received_);
    LeaveCriticalSection(&lock_);
    return taken;
}

void DebugListener::close() {
    stopping_ = 1;
    if (thread_) {
        WaitForSingleObject(thread_, 2000);
        CloseHandle(thread_);
    }
}
