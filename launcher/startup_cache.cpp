#include "launcher/startup_cache.h"

#include <windows.h>

#include <optional>

#include "base/environment.h"
#include "base/file_system.h"
#include "base/system_error.h"
#include "base/text_encoding.h"
#include "launcher/settings.h"
#include "launcher/startup_cache_rules.h"
#include "launcher/variables.h"
#include "settings_contract/setting_ids.h"
#include "ui/product_name.h"

namespace {

const std::string TracePrefix = "Startup cache: ";

// Size and time of last change, the text a changed file changes; empty when it is not there.
std::string fileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return std::string();
    return std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow) + ":" +
           std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" + std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

// The file version of the launcher's version resource ("1.0.0.0"); empty when it has none.
std::string launcherFileVersion(const std::string& executablePath) {
    std::wstring path = widen(executablePath);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::string();
    std::vector<BYTE> version(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, version.data()) ||
        !VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::string();
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

StartupCacheKey cacheKeyFor(const LaunchState& state, const JavaRuntime& runtime) {
    StartupCacheKey key;
    key.application = state.executablePath;
    // java.exe and javaw.exe of one home are one runtime, with one cache.
    key.runtime = runtime.home.empty() ? runtime.executable : runtime.home;
    std::string release = runtime.home.empty() ? std::string() : fileStamp(runtime.home + "\\release");
    key.runtimeBuild = release.empty() ? "exe " + fileStamp(runtime.executable) : "release " + release;
    // The jar is taken from the working directory, the current directory by now.
    key.applicationBuild = "jar " + fileStamp(fullPathOf(state.jar)) + "\nlauncher " +
                           launcherFileVersion(state.executablePath) + "\noptions " + state.vmOptions;
    // A main class or a module, and its class or module path: another one needs another cache.
    const LaunchForm& form = state.launchForm;
    if (form.kind != LaunchKind::Jar) {
        key.applicationBuild += "\nstarts " + form.mainClass + form.module + "\npath";
        for (const std::vector<std::string>* path : {&form.classPath, &form.modulePath})
            for (const std::string& entry : *path) key.applicationBuild += " " + entry;
    }
    return key;
}

Result<void> makeFolder(const std::string& folder) {
    if (CreateDirectoryW(widen(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return {};
    DWORD error = GetLastError();
    std::size_t parentEnd = folder.find_last_of('\\');
    if (error != ERROR_PATH_NOT_FOUND || parentEnd == std::string::npos || parentEnd == 0)
        return Failure{error, "cannot create " + folder};
    if (Result<void> parent = makeFolder(folder.substr(0, parentEnd)); !parent) return parent;
    if (!CreateDirectoryW(widen(folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Failure{GetLastError(), "cannot create " + folder};
    return {};
}

// Whether a file can be made in the folder: the runtime only finds out when it writes the cache,
// at exit, and some runtimes then end with a failure status.
Result<void> folderTakesFiles(const std::string& folder) {
    // Named after the process: two starts at once do not stand in each other's way.
    std::string probe = folder + "\\write-test-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE file = CreateFileW(widen(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failure{GetLastError(), "cannot write in " + folder};
    CloseHandle(file);
    return {};
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(widen(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(narrow(found.cFileName, wcslen(found.cFileName)));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Runtimes write their archives read-only; a cache still mapped by a running application cannot
// go until it ends, and the next start tries again.
Result<void> removeCache(const std::string& path) {
    std::wstring wide = widen(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(wide.c_str())) return Failure{GetLastError(), "cannot remove " + path};
    return {};
}

// The system's reason in brackets, when the failure is the system's.
std::string systemReason(const Failure& failure) {
    return failure.systemError ? " (" + systemErrorText(failure.systemError) + ")" : std::string();
}

std::string failureText(const Failure& failure) { return failure.what + systemReason(failure); }

std::string cacheHeader(const std::string& path) {
    std::string header;
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return header;
    char bytes[StartupCacheHeaderSize];
    DWORD count = 0;
    if (ReadFile(file, bytes, sizeof bytes, &count, nullptr)) header.assign(bytes, count);
    CloseHandle(file);
    return header;
}

// Java turns its command line into the ANSI code page: a path with characters that code page
// lacks is given by its short form, and is of no use where it has none.
std::optional<std::string> pathJavaCanRead(const std::string& folder, const std::string& name) {
    auto readable = [](const std::string& path) { return fitsCodePage(CP_ACP, path); };
    std::string path = folder + "\\" + name;
    if (readable(path)) return path;
    std::wstring wide = widen(folder);
    DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    std::wstring shortForm(size, L'\0');
    DWORD length = size ? GetShortPathNameW(wide.c_str(), shortForm.data(), size) : 0;
    if (length == 0 || length >= size) return std::nullopt;
    std::string shortPath = narrow(shortForm.data(), length) + "\\" + name;
    if (readable(shortPath)) return shortPath;
    return std::nullopt;
}

std::string cacheFolderFor(const std::string& executablePath, const std::string& localAppData) {
    std::string product = configuredProductName(executablePath);
    if (product.empty()) product = launcherVariable("LAUNCHER_NAME", executablePath).value_or(std::string());
    return localAppData + "\\" + startupCacheFolderName(product) + "\\startup-cache";
}

// The reason the launcher adds no cache of its own, or nothing when it may.
std::optional<std::string> reasonForNone(const LaunchState& state, int featureVersion) {
    std::optional<std::string> switchedOff = environmentVariable(StartupCacheVariable);
    if (switchedOff && startupCacheTurnedOff(*switchedOff))
        return std::string("off for this start (") + StartupCacheVariable + "=" + *switchedOff + ")";
    std::string own = ownCacheOption(state.vmOptions);
    for (const char* variable : {"JDK_JAVA_OPTIONS", "JAVA_TOOL_OPTIONS"})
        if (own.empty()) {
            std::string found = ownCacheOption(environmentVariable(variable).value_or(std::string()));
            if (!found.empty()) own = found + " in " + variable;
        }
    if (!own.empty()) return "none, the application's options choose their own (" + own + ")";
    if (featureVersion == 0) return std::string("none, the runtime's version is unknown");
    if (startupCacheKindFor(featureVersion) == StartupCacheKind::None)
        return "none for Java " + std::to_string(featureVersion) + " (it needs Java 13 or later)";
    return std::nullopt;
}

// The cache folder, made when it is not there yet.
Result<std::string> cacheFolder(const LaunchState& state) {
    std::string localAppData = environmentVariable("LOCALAPPDATA").value_or(std::string());
    if (localAppData.empty()) return Failure{0, "LOCALAPPDATA is not set"};
    std::string folder = cacheFolderFor(state.executablePath, localAppData);
    if (Result<void> made = makeFolder(folder); !made) return made.failure();
    return folder;
}

void removeOutdatedCaches(const std::string& folder, const std::string& name, std::vector<std::string>& trace) {
    for (const std::string& outdated : outdatedStartupCaches(namesIn(folder), name)) {
        Result<void> removed = removeCache(folder + "\\" + outdated);
        trace.push_back(TracePrefix + (removed ? "removed the outdated " + outdated : failureText(removed.failure())));
    }
}

// Whether a cache of this kind is there to use; a file that is none is removed, so that this
// start makes it again.
Result<bool> cacheThere(const std::string& path, const std::string& name, StartupCacheKind kind,
                        std::vector<std::string>& trace) {
    if (!fileExists(path)) return false;
    if (startupCacheLooksUsable(kind, cacheHeader(path))) return true;
    Result<void> removed = removeCache(path);
    if (!removed) return Failure{0, name + " is no cache the runtime can use and " + failureText(removed.failure())};
    trace.push_back(TracePrefix + name + " is no cache the runtime can use: it is made again");
    return false;
}

std::string choiceText(StartupCacheKind kind, int featureVersion, bool exists, const std::string& options) {
    std::string use = kind == StartupCacheKind::DynamicArchive ? "made or brought up to date at exit"
                      : exists                                  ? "in use"
                                                                : "made by this start at its exit";
    return TracePrefix + ("Java " + std::to_string(featureVersion)) + ", " + startupCacheKindName(kind) + ", " + use +
           ": " + options;
}

} // namespace

StartupCacheChoice chooseStartupCache(const LaunchState& state, const JavaRuntime& runtime) {
    StartupCacheChoice choice;
    if (!LauncherSettings::flag(SettingStartupCache)) return choice;
    auto none = [&choice](const std::string& reason) {
        choice.trace.push_back(TracePrefix + reason);
        return choice;
    };
    int featureVersion = runtime.featureVersion.value_or(0);
    if (std::optional<std::string> reason = reasonForNone(state, featureVersion)) return none(*reason);
    StartupCacheKind kind = startupCacheKindFor(featureVersion);
    Result<std::string> folder = cacheFolder(state);
    if (!folder) return none("none, " + folder.failure().what + systemReason(folder.failure()));

    std::string name = startupCacheFileName(cacheKeyFor(state, runtime), kind);
    removeOutdatedCaches(folder.value(), name, choice.trace);
    std::string path = folder.value() + "\\" + name;
    Result<bool> exists = cacheThere(path, name, kind, choice.trace);
    if (!exists) return none("none, " + exists.failure().what);
    if (startupCacheWrites(kind, exists.value())) {
        if (Result<void> writable = folderTakesFiles(folder.value()); !writable)
            return none("none, " + failureText(writable.failure()));
    }
    std::optional<std::string> javaPath = pathJavaCanRead(folder.value(), name);
    if (!javaPath) return none("none, Java cannot read the path " + path + " in the system's code page");
    choice.options = startupCacheOptions(kind, *javaPath, exists.value());
    choice.trace.push_back(choiceText(kind, featureVersion, exists.value(), choice.options));
    return choice;
}
