#include "jvm/boot_class_path.h"

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
