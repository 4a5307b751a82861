#include "jvm/win32_search_system.h"

#include <windows.h>

#include <cstdio>

#include "base/file_system.h"
#include "jvm/version_probe.h"

namespace {

// Values longer than this count as absent, as do names of subkeys.
constexpr DWORD RegistryBufferSize = 1024;
// A runtime's `release` file is a few hundred bytes; anything far larger is no such file.
constexpr std::size_t SmallFileLimit = 64 * 1024;

REGSAM viewFlag(RegistryView view) { return view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

class RegistryKey {
public:
    RegistryKey(RegistryView view, const std::string& path) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                          KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | viewFlag(view), &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

bool Win32SearchSystem::fileExists(const std::string& path) { return ::fileExists(path); }

std::string Win32SearchSystem::registryString(RegistryView view, const std::string& keyPath,
                                              const std::string& valueName) {
    RegistryKey key(view, keyPath);
    if (!key.get()) return std::string();
    char data[RegistryBufferSize + 1] = {};
    DWORD size = RegistryBufferSize;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return std::string();
    return std::string(data);
}

std::vector<std::string> Win32SearchSystem::registrySubkeys(RegistryView view, const std::string& keyPath) {
    std::vector<std::string> names;
    RegistryKey key(view, keyPath);
    if (!key.get()) return names;
    char name[RegistryBufferSize + 1] = {};
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = RegistryBufferSize;
        FILETIME lastWrite;
        if (RegEnumKeyExA(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr, &lastWrite) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, nameLength);
    }
    return names;
}

std::string Win32SearchSystem::environmentVariable(const std::string& name) {
    std::string value(32767, '\0');
    DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), 32767);
    if (length == 0 || length >= 32767) return std::string();
    value.resize(length);
    return value;
}

std::vector<std::string> Win32SearchSystem::subfolders(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::optional<std::string> Win32SearchSystem::readSmallFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string text(SmallFileLimit + 1, '\0');
    std::size_t length = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    if (length > SmallFileLimit) return std::nullopt;
    text.resize(length);
    return text;
}

ProbedVersion Win32SearchSystem::probeVersion(const std::string& javaHome) { return probeJavaVersion(javaHome); }
