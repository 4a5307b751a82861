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
    __pfnDliNotifyHook2 = loadFromSystemFolder;
    // Looked up, not imported: systems without it must still start the launcher. It is this
    // process's own setting; children keep their usual search.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    auto setDefaultDirectories = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without it, at least never the current directory, which may be a downloads folder. Children
    // inherit this one: restoreLibrarySearchForChildren undoes it before any is started.
    SetDllDirectoryW(L"");
}

void restoreLibrarySearchForChildren() {
    // Back to the default search (the current directory included), which Java's own libraries
    // and an application's native ones rely on. The launcher's own loads go by full path.
    SetDllDirectoryW(nullptr);
}
