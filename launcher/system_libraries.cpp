#include "launcher/system_libraries.h"

#include <windows.h>

#include <delayimp.h>

#include "base/system_library.h"

namespace {

FARPROC WINAPI loadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    HMODULE library = loadSystemLibrary(info->szDll);
    return reinterpret_cast<FARPROC>(library);
}

} // namespace

void loadLibrariesFromSystemFolderOnly() {
    // Never the current directory, which may be a downloads folder.
    SetDllDirectoryW(L"");
    // Looked up, not imported: systems without it must still start the launcher.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    auto setDefaultDirectories = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDirectories) setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    __pfnDliNotifyHook2 = loadFromSystemFolder;
}
