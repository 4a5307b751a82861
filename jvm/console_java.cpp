#include "jvm/console_java.h"

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
