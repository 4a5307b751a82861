#pragma once

#include "jvm/runtime_search.h"

// The runtime search's view of this machine: files, the registry under HKEY_LOCAL_MACHINE, the
// environment and version probes of real runtimes.
class Win32SearchSystem : public SearchSystem {
public:
    bool fileExists(const std::string& path) override;
    std::string registryString(RegistryView view, const std::string& keyPath, const std::string& valueName) override;
    std::vector<std::string> registrySubkeys(RegistryView view, const std::string& keyPath) override;
    std::string environmentVariable(const std::string& name) override;
    std::vector<std::string> subfolders(const std::string& folder, const std::string& pattern) override;
    std::optional<std::string> readSmallFile(const std::string& path) override;
    ProbedVersion probeVersion(const std::string& javaHome) override;
};
