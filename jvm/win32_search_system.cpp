#include "jvm/win32_search_system.h"

#include <windows.h>

#include <utility>

#include "base/environment.h"
#include "base/file_system.h"
#include "base/system_library.h"
#include "base/text_encoding.h"
#include "base/unique_handle.h"
#include "jvm/version_probe.h"

namespace {

// Values longer than this count as absent, as do names of subkeys.
constexpr DWORD RegistryBufferSize = 1024;
// A runtime's `release` file is a few hundred bytes; anything far larger is no such file.
constexpr std::size_t SmallFileLimit = 64 * 1024;

REGSAM viewFlag(RegistryView view) { return view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

HKEY rootKey(RegistryHive hive) { return hive == RegistryHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

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
    RegistryKey(HKEY parent, RegistryView view, const std::string& path) {
        if (!parent || !registry().open ||
            registry().open(parent, widen(path).c_str(), 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | viewFlag(view),
                            &key_) != ERROR_SUCCESS)
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

// The path up to its `count`th backslash, and the rest after it; no head when it has fewer.
std::pair<std::string, std::string> splitAfter(const std::string& path, int count) {
    std::string::size_type at = std::string::npos;
    for (int i = 0; i < count; ++i) {
        at = path.find('\\', at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos) return {std::string(), path};
    }
    return {path.substr(0, at), path.substr(at + 1)};
}

} // namespace

Win32SearchSystem::~Win32SearchSystem() {
    for (const OpenedKey& opened : opened_)
        if (opened.key) registry().close(opened.key);
}

HKEY Win32SearchSystem::openedOnce(RegistryHive hive, RegistryView view, const std::string& path) {
    for (const OpenedKey& opened : opened_)
        if (opened.hive == hive && opened.view == view && _stricmp(opened.path.c_str(), path.c_str()) == 0)
            return opened.key;
    // SOFTWARE from the root, a vendor's key from SOFTWARE.
    auto [parentPath, name] = splitAfter(path, 1);
    HKEY parent = parentPath.empty() ? rootKey(hive) : openedOnce(hive, view, parentPath);
    HKEY handle = nullptr;
    if (!parent || !registry().open ||
        registry().open(parent, widen(name).c_str(), 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | viewFlag(view),
                        &handle) != ERROR_SUCCESS)
        handle = nullptr;
    opened_.push_back(OpenedKey{hive, view, path, handle});
    return handle;
}

// The keys the search reads lie below a vendor's key in SOFTWARE (SOFTWARE\JavaSoft\JDK): the
// rest of the path is opened from that key, opened once. Most vendors' keys are missing on a PC,
// so one failed open answers for every key below them, and the view's redirection is resolved
// once, not for every key.
HKEY Win32SearchSystem::parentFor(RegistryHive hive, RegistryView view, const std::string& path, std::string& rest) {
    auto [vendorPath, belowVendor] = splitAfter(path, 2);
    if (!vendorPath.empty() && _strnicmp(vendorPath.c_str(), "SOFTWARE\\", 9) == 0) {
        rest = belowVendor;
        return openedOnce(hive, view, vendorPath);
    }
    rest = path;
    return rootKey(hive);
}

bool Win32SearchSystem::fileExists(const std::string& path) { return ::fileExists(path); }

std::string Win32SearchSystem::registryString(RegistryHive hive, RegistryView view, const std::string& keyPath,
                                              const std::string& valueName) {
    std::string rest;
    RegistryKey key(parentFor(hive, view, keyPath, rest), view, rest);
    if (!key.get()) return std::string();
    wchar_t data[RegistryBufferSize + 1] = {};
    DWORD size = RegistryBufferSize * sizeof(wchar_t);
    DWORD type = 0;
    if (registry().query(key.get(), widen(valueName).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return std::string();
    return narrow(std::wstring(data));
}

std::vector<std::string> Win32SearchSystem::registrySubkeys(RegistryHive hive, RegistryView view,
                                                            const std::string& keyPath) {
    std::vector<std::string> names;
    std::string rest;
    RegistryKey key(parentFor(hive, view, keyPath, rest), view, rest);
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
    return ::environmentVariable(name).value_or(std::string());
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

std::string Win32SearchSystem::readFileHead(const std::string& path, std::size_t limit) {
    UniqueHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::string();
    std::string head(limit, '\0');
    DWORD count = 0;
    if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(limit), &count, nullptr)) return std::string();
    head.resize(count);
    return head;
}

std::string Win32SearchSystem::finalPath(const std::string& path) {
    // Opening the file follows every link on the way; the handle then names the real file.
    UniqueHandle file(CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::string();
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
    if (length >= name.size()) {
        name.resize(length + 1);
        length = GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
    }
    if (length == 0 || length >= name.size()) return std::string();
    name.resize(length);
    // The answer is in the system's long form: \\?\C:\... or \\?\UNC\server\share\...
    if (name.compare(0, 8, L"\\\\?\\UNC\\") == 0) return narrow(L"\\" + name.substr(7));
    if (name.compare(0, 4, L"\\\\?\\") == 0) return narrow(name.substr(4));
    return narrow(name);
}

namespace {

Machine nativeMachine() {
    // Windows 10 1709 and later name the PC's machine even to an emulated (x64 on ARM64) process;
    // looked up, not imported, so older systems still start the launcher.
    using IsWow64Process2Call = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto isWow64Process2 = reinterpret_cast<IsWow64Process2Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process2")));
    USHORT process = 0, native = 0;
    if (isWow64Process2 && isWow64Process2(GetCurrentProcess(), &process, &native)) return static_cast<Machine>(native);
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    switch (system.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
        return Machine::X64;
    case PROCESSOR_ARCHITECTURE_ARM64:
        return Machine::Arm64;
    case PROCESSOR_ARCHITECTURE_INTEL:
        return Machine::X86;
    default:
        return Machine::Unknown;
    }
}

// Windows 11 and Server 2022 say which machines' code runs in user mode; nothing on older systems.
std::optional<std::vector<Machine>> userEnabledMachines() {
    using GetMachineTypeAttributesCall = HRESULT(WINAPI*)(USHORT, int*);
    auto getAttributes = reinterpret_cast<GetMachineTypeAttributesCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetMachineTypeAttributes")));
    if (!getAttributes) return std::nullopt;
    constexpr int UserEnabled = 0x1; // MACHINE_ATTRIBUTES
    std::vector<Machine> enabled;
    for (Machine machine : {Machine::X86, Machine::X64, Machine::Arm64}) {
        int attributes = 0;
        if (FAILED(getAttributes(static_cast<USHORT>(machine), &attributes))) return std::nullopt;
        if (attributes & UserEnabled) enabled.push_back(machine);
    }
    return enabled;
}

} // namespace

std::vector<Machine> Win32SearchSystem::runnableMachines() { return machinesRunOn(nativeMachine(), userEnabledMachines()); }

ProbedVersion Win32SearchSystem::probeVersion(const std::string& javaExecutable) {
    return probeJavaVersion(javaExecutable);
}
