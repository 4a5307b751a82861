#include "process/command_line.h"

std::string quoteLibJar(const std::string& javaHome, const std::string& fileName) {
    return "\"" + javaHome + "\\lib\\" + fileName + "\"";
}

std::string joinBootClassPath(const std::string& javaHome, const std::vector<std::string>& jarNames) {
    std::string path;
    for (const std::string& name : jarNames) {
        if (!path.empty()) path += ";";
        path += quoteLibJar(javaHome, name);
    }
    return path;
}

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

std::string consoleJavaBeside(const std::string& javaExecutable) {
    static const std::string windowName = "javaw.exe";
    if (javaExecutable.size() < windowName.size()) return std::string();
    std::string::size_type nameAt = javaExecutable.size() - windowName.size();
    if (nameAt > 0 && javaExecutable[nameAt - 1] != '\\' && javaExecutable[nameAt - 1] != '/') return std::string();
    for (std::size_t i = 0; i < windowName.size(); ++i) {
        char c = javaExecutable[nameAt + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != windowName[i]) return std::string();
    }
    return javaExecutable.substr(0, nameAt) + "java.exe";
}

std::string fullCommandLine(const std::string& javaExecutable, const std::string& arguments) {
    return "\"" + javaExecutable + "\" " + arguments;
}
