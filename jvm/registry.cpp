#include "jvm/registry.h"

#include <windows.h>

#include "jvm/version.h"
#include "launcher/settings.h"
#include "trace/trace_log.h"

const char* const JreRegistryKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const JdkRegistryKey = "SOFTWARE\\JavaSoft\\Java Development Kit";

namespace {

constexpr DWORD RegistryBufferSize = 1024;

class RegistryKey {
public:
    explicit RegistryKey(const std::string& path) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &key_) !=
            ERROR_SUCCESS)
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

std::string readRegistryString(const std::string& keyPath, const std::string& valueName) {
    RegistryKey key(keyPath);
    if (!key.get()) return std::string();
    char data[RegistryBufferSize + 1] = {};
    DWORD size = RegistryBufferSize;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return std::string();
    return std::string(data);
}

std::string currentVersionJavaHome() {
    std::string version = readRegistryString(JreRegistryKey, "CurrentVersion");
    return readRegistryString(std::string(JreRegistryKey) + "\\" + version, "JavaHome");
}

RegisteredRuntime findRegisteredRuntime(const std::string& keyPath, const std::string& minimumVersion,
                                        const std::string& javaExecutableName) {
    RegisteredRuntime result;
    RegistryKey key(keyPath);
    if (!key.get()) return result;
    char name[RegistryBufferSize + 1] = {};
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = RegistryBufferSize;
        FILETIME lastWrite;
        if (RegEnumKeyExA(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr, &lastWrite) != ERROR_SUCCESS)
            break;
        std::string version(name, nameLength);
        if (!versionAtLeast(minimumVersion, version)) continue;
        traceLog().trace(version);
        std::string home = readRegistryString(keyPath + "\\" + version, "JavaHome");
        // No home means nothing to start; never fall back to the root of the current drive.
        if (home.empty()) continue;
        std::string candidate = home + "\\bin\\" + javaExecutableName;
        if (fileExists(candidate)) {
            result = RegisteredRuntime{candidate, home};
            traceLog().trace("found");
        }
        traceLog().trace(candidate);
    }
    return result;
}

RegisteredRuntime findRegisteredJdk(const std::string& minimumVersion, const std::string& javaExecutableName) {
    RegisteredRuntime result = findRegisteredRuntime(JdkRegistryKey, minimumVersion, javaExecutableName);
    if (fileExists(result.executable)) traceLog().trace("Jre key found in registry");
    return result;
}
