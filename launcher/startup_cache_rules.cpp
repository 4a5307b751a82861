#include "launcher/startup_cache_rules.h"

#include <cstdint>
#include <cstring>

#include "process/command_line.h"

const char* const StartupCacheVariable = "LAUNCHER_STARTUP_CACHE";

StartupCacheKind startupCacheKindFor(int featureVersion) {
    if (featureVersion >= 25) return StartupCacheKind::AheadOfTimeCache;
    if (featureVersion >= 19) return StartupCacheKind::DynamicArchive;
    if (featureVersion >= 13) return StartupCacheKind::ArchiveAtExit;
    return StartupCacheKind::None;
}

const char* startupCacheKindName(StartupCacheKind kind) {
    switch (kind) {
    case StartupCacheKind::ArchiveAtExit: return "class-data archive written at exit";
    case StartupCacheKind::DynamicArchive: return "dynamic class-data archive";
    case StartupCacheKind::AheadOfTimeCache: return "ahead-of-time cache";
    case StartupCacheKind::None: break;
    }
    return "none";
}

std::string ownCacheOption(const std::string& vmOptions) {
    static const char* const cacheOptions[] = {
        "-XX:SharedArchiveFile=", "-XX:ArchiveClassesAtExit=", "-XX:+AutoCreateSharedArchive",
        "-XX:AOTCache=",          "-XX:AOTCacheOutput=",       "-XX:AOTConfiguration=",
        "-XX:AOTMode=",           "-XX:-UseSharedSpaces",      "-Xshare:",
    };
    for (std::size_t at = 0; at < vmOptions.size(); ++at) {
        // Only where an argument starts: at the beginning, after a blank, or inside its quotes.
        if (at > 0 && vmOptions[at - 1] != ' ' && vmOptions[at - 1] != '\t' && vmOptions[at - 1] != '"') continue;
        for (const char* option : cacheOptions)
            if (vmOptions.compare(at, std::strlen(option), option) == 0)
                return vmOptions.substr(at, vmOptions.find_first_of(" \t\"", at) - at);
    }
    return std::string();
}

bool startupCacheTurnedOff(const std::string& value) {
    std::string lower;
    for (char c : value) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower == "off" || lower == "0" || lower == "no" || lower == "false";
}

namespace {

// FNV-1a: a short, stable name part; paths are compared without regard to letter case, as
// Windows compares them.
std::string nameHash(const std::string& text, bool ignoreCase) {
    std::uint32_t hash = 2166136261u;
    for (char c : text) {
        if (ignoreCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    static const char digits[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, hash >>= 4) out[static_cast<std::size_t>(i)] = digits[hash & 0xF];
    return out;
}

constexpr std::size_t GroupLength = 8;
constexpr std::size_t GroupsLength = 4 * GroupLength + 3;

bool isHexGroup(const std::string& name, std::size_t at) {
    for (std::size_t i = at; i < at + GroupLength; ++i)
        if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'f'))) return false;
    return true;
}

// The name's four groups when it is a cache of ours (or the runtime's temporary file of one).
bool isCacheName(const std::string& name) {
    if (name.size() < GroupsLength) return false;
    for (std::size_t group = 0; group < 4; ++group) {
        std::size_t at = group * (GroupLength + 1);
        if (!isHexGroup(name, at) || (group < 3 && name[at + GroupLength] != '-')) return false;
    }
    std::string tail = name.substr(GroupsLength);
    return tail == ".aot" || tail == ".jsa" || tail == ".aot.config";
}

std::string group(const std::string& name, std::size_t index) {
    return name.substr(index * (GroupLength + 1), GroupLength);
}

} // namespace

std::string startupCacheFileName(const StartupCacheKey& key, StartupCacheKind kind) {
    return nameHash(key.application, true) + "-" + nameHash(key.runtime, true) + "-" +
           nameHash(key.runtimeBuild, false) + "-" + nameHash(key.applicationBuild, false) +
           (kind == StartupCacheKind::AheadOfTimeCache ? ".aot" : ".jsa");
}

std::vector<std::string> outdatedStartupCaches(const std::vector<std::string>& names, const std::string& current) {
    std::vector<std::string> outdated;
    if (!isCacheName(current)) return outdated;
    for (const std::string& name : names) {
        if (!isCacheName(name) || group(name, 0) != group(current, 0)) continue;
        if (name.compare(0, GroupsLength, current, 0, GroupsLength) == 0) continue; // the current one
        bool sameRuntime = group(name, 1) == group(current, 1);
        bool sameApplicationBuild = group(name, 3) == group(current, 3);
        if (sameRuntime || !sameApplicationBuild) outdated.push_back(name);
    }
    return outdated;
}

bool startupCacheLooksUsable(StartupCacheKind kind, const std::string& header) {
    // The runtimes' magic numbers, little-endian: 0xf00baba2 for a static archive (the form of
    // an ahead-of-time cache), 0xf00baba8 for a dynamic one.
    static const char staticMagic[] = "\xa2\xab\x0b\xf0";
    static const char dynamicMagic[] = "\xa8\xab\x0b\xf0";
    if (kind == StartupCacheKind::None || header.size() < StartupCacheHeaderSize) return false;
    const char* magic = kind == StartupCacheKind::AheadOfTimeCache ? staticMagic : dynamicMagic;
    return header.compare(0, StartupCacheHeaderSize, magic, StartupCacheHeaderSize) == 0;
}

std::string startupCacheOptions(StartupCacheKind kind, const std::string& file, bool exists) {
    switch (kind) {
    case StartupCacheKind::ArchiveAtExit:
        return quotedJar((exists ? "-XX:SharedArchiveFile=" : "-XX:ArchiveClassesAtExit=") + file);
    case StartupCacheKind::DynamicArchive:
        return "-XX:+AutoCreateSharedArchive " + quotedJar("-XX:SharedArchiveFile=" + file);
    case StartupCacheKind::AheadOfTimeCache:
        return quotedJar((exists ? "-XX:AOTCache=" : "-XX:AOTCacheOutput=") + file);
    case StartupCacheKind::None: break;
    }
    return std::string();
}

bool startupCacheWrites(StartupCacheKind kind, bool exists) {
    return kind == StartupCacheKind::DynamicArchive || (kind != StartupCacheKind::None && !exists);
}

std::string startupCacheFolderName(const std::string& name) {
    std::string folder;
    for (char c : name) {
        // Java 25 reads %p in a cache's path as its process id, so '%' goes too.
        bool forbidden = static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"/\\|?*%", c) != nullptr;
        if (folder.empty() && c == ' ') continue;
        folder += forbidden ? '_' : c;
    }
    while (!folder.empty() && (folder.back() == '.' || folder.back() == ' ')) folder.pop_back();
    return folder.empty() ? "launcher" : folder;
}
