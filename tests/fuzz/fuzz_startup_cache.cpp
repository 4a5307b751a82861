// The startup cache's texts: the VM options it looks through for a cache of their own, the file
// names it finds in its folder, the product name it makes a folder name of, and a cache's header.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "launcher/startup_cache_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);

    std::string own = ownCacheOption(text);
    if (!own.empty() && (text.find(own) == std::string::npos || own.compare(0, 2, "-X") != 0)) __builtin_trap();

    std::vector<std::string> names;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = std::min(text.find('\n', at), text.size());
        names.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::vector<std::string> outdated = outdatedStartupCaches(names, names.front());
    for (const std::string& name : outdated) {
        // Only names that were there, never the current cache itself.
        if (std::find(names.begin(), names.end(), name) == names.end() || name == names.front()) __builtin_trap();
    }

    std::string folder = startupCacheFolderName(text);
    if (folder.empty() || folder.back() == '.' || folder.back() == ' ' || folder.front() == ' ') __builtin_trap();
    for (char c : folder)
        if (static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"/\\|?*%", c)) __builtin_trap();

    for (StartupCacheKind kind : {StartupCacheKind::None, StartupCacheKind::ArchiveAtExit,
                                  StartupCacheKind::DynamicArchive, StartupCacheKind::AheadOfTimeCache}) {
        startupCacheLooksUsable(kind, text);
        std::string options = startupCacheOptions(kind, text, !text.empty());
        if ((kind == StartupCacheKind::None) != options.empty()) __builtin_trap();
    }
    return 0;
}
