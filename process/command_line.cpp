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

std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const std::string& jar) {
    std::string arguments = vmOptions;
    if (!bootClassPath.empty()) arguments += " -Xbootclasspath/p:" + bootClassPath;
    arguments += " -jar " + jar;
    return arguments;
}

std::string fullCommandLine(const std::string& javaExecutable, const std::string& arguments) {
    return "\"" + javaExecutable + "\" " + arguments;
}
