// A library planted beside the launcher under a system library's name. Loading it records
// "planted-library-loaded" in the DOUBLE_RECORD file; the launcher must never load it.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[4096] = {};
    if (!GetEnvironmentVariableA("DOUBLE_RECORD", path, sizeof path)) return TRUE;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    const char line[] = "planted-library-loaded\n";
    DWORD written = 0;
    WriteFile(file, line, sizeof line - 1, &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
