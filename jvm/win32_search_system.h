#pragma once

#include <string>
#include <vector>

#include "jvm/runtime_search.h"

struct HKEY__;

// The runtime search's view of this machine: files and links, the registry, the environment, the
// PC's architecture and version probes of real runtimes.
class Win32SearchSystem : public SearchSystem {
public:
    Win32SearchSystem() = default;
    ~Win32SearchSystem() override;
    Win32SearchSystem(const Win32SearchSystem&) = delete;
    Win32SearchSystem& operator=(const Win32SearchSystem&) = delete;

    bool fileExists(const std::string& path) override;
    std::string registryString(RegistryHive hive, RegistryView view, const std::string& keyPath,
                               const std::string& valueName) override;
    std::vector<std::string> registrySubkeys(RegistryHive hive, RegistryView view, const std::string& keyPath) override;
    std::string environmentVariable(const std::string& name) override;
    std::vector<std::string> subfolders(const std::string& folder, const std::string& pattern) override;
    std::optional<std::string> readSmallFile(const std::string& path) override;
    std::string readFileHead(const std::string& path, std::size_t limit) override;
    std::string finalPath(const std::string& path) override;
    std::vector<Machine> runnableMachines() override;
    ProbedVersion probeVersion(const std::string& javaExecutable) override;

private:
    // A key the search reads below again and again (SOFTWARE, a vendor's key), opened once per
    // search; null when it cannot be opened, so that nothing below it is tried.
    HKEY__* openedOnce(RegistryHive hive, RegistryView view, const std::string& path);
    // The key to open `rest` of `path` from; null when a key on the way is missing.
    HKEY__* parentFor(RegistryHive hive, RegistryView view, const std::string& path, std::string& rest);
    struct OpenedKey {
        RegistryHive hive;
        RegistryView view;
        std::string path; // compared without case, as the registry does
        HKEY__* key;
    };
    std::vector<OpenedKey> opened_;
};
