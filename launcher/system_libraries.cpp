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

void loadLibrariesFromSystemFolderOnly() {
    // Never the current directory, which may be a downloads folder.
    SetDllDirectoryA("");
    // Looked up, not imported: systems without it must still start the launcher.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    auto setDefaultDirectories = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDirectories) setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    __pfnDliNotifyHook2 = loadFromSystemFolder;
}
