#include "launcher/system_libraries.h"

#include <windows.h>

#include <delayimp.h>

#include <string>

namespace {

FARPROC WINAPI loadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    char systemDirectory[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(systemDirectory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    HMODULE library = LoadLibraryA((std::string(systemDirectory) + "\\" + info->szDll).c_str());
    return reinterpret_cast<FARPROC>(library);
}

} // namespace

void loadDelayedLibrariesFromSystemFolder() { __pfnDliNotifyHook2 = loadFromSystemFolder; }
