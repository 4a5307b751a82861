#include "process/java_paths.h"

#include <windows.h>

#include <optional>

#include "base/file_system.h"
#include "base/text_encoding.h"
#include "process/command_line.h"
#include "trace/trace_log.h"

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The short name of the path's last component, as the file system keeps it.
std::optional<std::string> shortNameOf(const std::string& path) {
    std::wstring wide = widen(path);
    DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring shortPath(size, L'\0');
    DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) return std::nullopt;
    shortPath.resize(length);
    std::string text = narrow(shortPath);
    std::string::size_type last = text.find_last_of("\\/");
    return last == std::string::npos ? text : text.substr(last + 1);
}

} // namespace

std::string javaReadablePath(const std::string& path) {
    if (fitsCodePage(CP_ACP, path)) return path;
    std::string readable;
    bool kept = false;
    std::string::size_type at = 0;
    while (at <= path.size()) {
        std::string::size_type end = at;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        std::string component = path.substr(at, end - at);
        if (!fitsCodePage(CP_ACP, component)) {
            std::optional<std::string> shortName = shortNameOf(path.substr(0, end));
            // A volume without short names gives the long one back.
            if (shortName && !shortName->empty() && fitsCodePage(CP_ACP, *shortName))
                component = *shortName;
            else
                kept = true;
        }
        readable += component;
        if (end < path.size()) readable += path[end];
        at = end + 1;
    }
    if (kept) {
        traceLog().trace("No short path for " + path + ": Java may not read its name");
        return path;
    }
    traceLog().trace("Short path for Java: " + path + " as " + readable);
    return readable;
}

std::string javaReadableArguments(const std::string& arguments) {
    if (fitsCodePage(CP_ACP, arguments)) return arguments;
    std::string readable;
    std::size_t copied = 0;
    for (const ArgumentSpan& argument : splitArguments(arguments)) {
        if (fitsCodePage(CP_ACP, argument.value) || !fileExists(argument.value)) continue;
        std::string path = javaReadablePath(argument.value);
        if (path == argument.value) continue;
        readable += arguments.substr(copied, argument.begin - copied) + quotedArgument(path);
        copied = argument.end;
    }
    return readable + arguments.substr(copied);
}
