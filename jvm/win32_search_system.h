#pragma once

#include "jvm/runtime_search.h"

// The runtime search's view of this machine: files and links, the registry, the environment, the
// PC's architecture and version probes of real runtimes.
class Win32SearchSystem : public SearchSystem {
public:
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
};
