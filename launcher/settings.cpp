#include "launcher/settings.h"

#include <windows.h>

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "launcher/ansi_text.h"

std::string LauncherSettings::text(unsigned id) {
    // Read straight from the string table (block id/16 + 1, entry id%16), as the platform's
    // string loader does, so a launch loads no window library just for its settings.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC block = FindResourceA(module, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6));
    HGLOBAL loaded = block ? LoadResource(module, block) : nullptr;
    const auto* at = static_cast<const wchar_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!at) return std::string();
    const wchar_t* end = at + SizeofResource(module, block) / sizeof(wchar_t);
    for (unsigned entry = 0; entry < id % 16 && at < end; ++entry) at += 1 + *at;
    if (at >= end || *at == 0 || at + 1 + *at > end) return std::string();
    return ansiFromUtf16(at + 1, *at);
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
