#include <windows.h>

#include "base/text_encoding.h"
#include "jvm/boot_class_path.h"
#include "trace/trace_log.h"

std::string buildBootClassPath(const std::string& javaHome) {
    traceLog().trace("JDK PATH...");
    traceLog().trace(javaHome);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(javaHome + "\\lib\\*.jar").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::vector<std::string> names;
    do {
        names.push_back(narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::string path = joinBootClassPath(javaHome, names);
    traceLog().trace(path);
    return path;
}
