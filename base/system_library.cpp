#include "base/system_library.h"

#include <string>

#include "base/text_encoding.h"

HMODULE loadSystemLibrary(const char* name) {
    wchar_t systemDirectory[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(systemDirectory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path = std::wstring(systemDirectory, length) + L"\\" + widen(name);
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
