#include "launcher/settings.h"

#include <windows.h>

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

std::string LauncherSettings::text(unsigned id) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    // LoadStringA truncates silently; grow until the text leaves room to spare.
    for (int size = 256;; size += 256) {
        std::vector<char> buffer(size, '\0');
        int length = LoadStringA(module, id, buffer.data(), size);
        if (length <= 0) return std::string();
        if (length < size - 2) return std::string(buffer.data(), length);
    }
}

bool LauncherSettings::flag(unsigned id) { return !text(id).empty(); }

int LauncherSettings::number(unsigned id) {
    std::string value = text(id);
    return value.empty() ? 0 : std::atoi(value.c_str());
}

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
