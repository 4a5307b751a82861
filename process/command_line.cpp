#include "process/command_line.h"

std::string quotedJar(const std::string& jar) {
    if (jar.find_first_of(" \t") == std::string::npos || jar.find('"') != std::string::npos) return jar;
    // Backslashes right before the closing quote would escape it: they are doubled.
    std::string::size_type trailing = jar.size() - (jar.find_last_not_of('\\') + 1);
    return "\"" + jar + std::string(trailing, '\\') + "\"";
}

std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const std::string& jar,
                          const std::string& applicationArguments) {
    std::string arguments = vmOptions;
    if (!bootClassPath.empty()) arguments += " -Xbootclasspath/p:" + bootClassPath;
    arguments += " -jar " + quotedJar(jar);
    if (!applicationArguments.empty()) arguments += " " + applicationArguments;
    return arguments;
}

std::string fullCommandLine(const std::string& javaExecutable, const std::string& arguments) {
    return "\"" + javaExecutable + "\" " + arguments;
}
