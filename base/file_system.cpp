#include "base/file_system.h"

#include <windows.h>

#include <sys/stat.h>

#include <vector>

std::optional<std::string> executablePath() {
    HMODULE module = GetModuleHandleA(nullptr);
    if (!module) return std::nullopt;
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        DWORD length = GetModuleFileNameA(module, buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size - 1) return std::string(buffer.data(), length);
        if (size >= 0x100000) return std::nullopt;
    }
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    struct _stat info;
    return _stat(path.c_str(), &info) == 0;
}

std::string fullPathOf(const std::string& path) {
    DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::string full(size, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

Result<void> enterDirectory(const std::string& directory) {
    if (!SetCurrentDirectoryA(directory.c_str())) return Failure{GetLastError(), "cannot enter " + directory};
    return {};
}
