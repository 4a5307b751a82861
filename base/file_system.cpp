#include "base/file_system.h"

#include <windows.h>

#include "base/text_encoding.h"
#include "base/unique_handle.h"

std::optional<std::string> executablePath() {
    // Read whole, however long: a buffer that came back full is grown until the path fits.
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::wstring buffer(size, L'\0');
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size - 1) return narrow(buffer.data(), length);
        if (size >= 0x100000) return std::nullopt;
    }
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string fullPathOf(const std::string& path) {
    std::wstring wide = widen(path);
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    return narrow(full.data(), length);
}

Result<void> enterDirectory(const std::string& directory) {
    if (!SetCurrentDirectoryW(widen(directory).c_str())) return Failure{GetLastError(), "cannot enter " + directory};
    return {};
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t limit) {
    UniqueHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
        if (count == 0) return bytes;
        bytes.append(buffer, count);
        if (bytes.size() > limit) return std::nullopt;
    }
    return std::nullopt;
}
