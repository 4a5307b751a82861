#include "launcher/single_instance_rules.h"

#include <cstdint>
#include <cstdio>

std::string instanceMarkerName(const std::string& userSid, const std::string& foldedLauncherPath) {
    // 64-bit FNV-1a of the path: a name of fixed length, whatever the path's length, and object
    // names may hold no backslash after the namespace.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : foldedLauncherPath) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    std::string sid;
    for (char c : userSid) sid += c == '\\' ? '_' : c;
    return "Local\\JavaApplicationLauncher-" + sid + "-" + hex;
}

std::optional<std::size_t> mainWindowIndex(const std::vector<WindowFacts>& windows) {
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i].visible && !windows[i].owned && !windows[i].toolWindow) return i;
    return std::nullopt;
}
