#include "launcher/paths.h"

#include "base/absolute_path.h"

std::optional<std::string> executableDirectoryOf(const std::string& executablePath) {
    std::string::size_type slash = executablePath.rfind('\\');
    if (slash == std::string::npos) return std::nullopt;
    return executablePath.substr(0, slash);
}

std::string workingDirectoryOf(const std::string& executableDirectory, const std::string& relative) {
    // A variable may make it absolute (%APPDATA%\MyApp): then it is taken as it is.
    if (isAbsolutePath(relative)) return relative;
    return executableDirectory + "\\" + relative;
}
