#include "jvm/win32_search_system.h"

#include <windows.h>

#include "base/file_system.h"
#include "base/system_library.h"
#include "base/text_encoding.h"
#include "jvm/version_probe.h"

namespace {

// Values longer than this count as absent, as do names of subkeys.
constexpr DWORD RegistryBufferSize = 1024;
// A runtime's `release` file is a few hundred bytes; anything far larger is no such file.
constexpr std::size_t SmallFileLimit = 64 * 1024;

REGSAM viewFlag(RegistryView view) { return view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

// The registry functions, from the kernel where Windows 8 and later keep them (so a search loads
// no further library), else from the registry library in the system folder.
struct RegistryCalls {
    decltype(&RegOpenKeyExW) open = nullptr;
    decltype(&RegQueryValueExW) query = nullptr;
    decltype(&RegEnumKeyExW) enumerate = nullptr;
    decltype(&RegCloseKey) close = nullptr;

    template <typename Function>
    static bool find(HMODULE module, const char* name, Function& function) {
        function = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
        return function != nullptr;
    }
    bool from(HMODULE module) {
        return find(module, "RegOpenKeyExW", open) && find(module, "RegQueryValueExW", query) &&
               find(module, "RegEnumKeyExW", enumerate) && find(module, "RegCloseKey", close);
    }
};

const RegistryCalls& registry() {
    static const RegistryCalls calls = [] {
        RegistryCalls found;
        if (!found.from(GetModuleHandleW(L"kernel32.dll"))) found.from(loadSystemLibrary("advapi32.dll"));
        return found;
    }();
    return calls;
}

class RegistryKey {
public:
    RegistryKey(RegistryView view, const std::string& path) {
        if (!registry().open ||
            registry().open(HKEY_LOCAL_MACHINE, widen(path).c_str(), 0,
                            KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | viewFlag(view), &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_) registry().close(key_);
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
    wchar_t data[RegistryBufferSize + 1] = {};
    DWORD size = RegistryBufferSize * sizeof(wchar_t);
    DWORD type = 0;
    if (registry().query(key.get(), widen(valueName).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return std::string();
    return narrow(std::wstring(data));
}

std::vector<std::string> Win32SearchSystem::registrySubkeys(RegistryView view, const std::string& keyPath) {
    std::vector<std::string> names;
    RegistryKey key(view, keyPath);
    if (!key.get()) return names;
    wchar_t name[RegistryBufferSize + 1] = {};
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = RegistryBufferSize;
        FILETIME lastWrite;
        if (registry().enumerate(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr, &lastWrite) != ERROR_SUCCESS)
            break;
        names.push_back(narrow(name, nameLength));
    }
    return names;
}

std::string Win32SearchSystem::environmentVariable(const std::string& name) {
    std::wstring value(32767, L'\0');
    DWORD length = GetEnvironmentVariableW(widen(name).c_str(), value.data(), 32767);
    if (length == 0 || length >= 32767) return std::string();
    return narrow(value.data(), length);
}

std::vector<std::string> Win32SearchSystem::subfolders(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = narrow(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::optional<std::string> Win32SearchSystem::readSmallFile(const std::string& path) {
    return readWholeFile(path, SmallFileLimit);
}

ProbedVersion Win32SearchSystem::probeVersion(const std::string& javaHome) { return probeJavaVersion(javaHome); }
