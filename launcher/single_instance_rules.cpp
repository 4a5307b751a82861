#include "launcher/single_instance_rules.h"

#include <cstdint>

std::string instanceMarkerName(const std::string& userSid, const std::string& foldedLauncherPath) {
    // 64-bit FNV-1a of the path: a name of fixed length, whatever the path's length, and object
    // names may hold no backslash after the namespace.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : foldedLauncherPath) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    std::string hex(16, '0');
    for (std::size_t i = 16; i-- > 0; hash >>= 4) hex[i] = "0123456789abcdef"[hash & 0xF];
    std::string sid;
    for (char c : userSid) sid += c == '\\' ? '_' : c;
    return "Local\\JavaApplicationLauncher-" + sid + "-" + hex;
}

std::optional<std::size_t> windowToBringForward(const std::vector<WindowFacts>& windows, bool lastLook) {
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (!windows[i].owned && !windows[i].toolWindow) return i;
    if (lastLook && !windows.empty()) return 0;
    return std::nullopt;
}

std::string instanceMarkerSecurity(const std::string& userSid, bool mediumLabel) {
    // P: protected, nothing inherited; GA: all access; SY: the local system; NW: no write up.
    return "D:P(A;;GA;;;" + userSid + ")(A;;GA;;;SY)" + (mediumLabel ? "S:(ML;;NW;;;ME)" : "");
}
