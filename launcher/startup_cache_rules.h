#pragma once

#include <string>
#include <vector>

// The startup cache: class data (or, from Java 25, an ahead-of-time cache) that the runtime
// writes on the user's own PC and maps on later starts. These are the platform-free rules; the
// launcher's files and folders are in startup_cache.cpp.

// What the chosen runtime offers, by its feature version.
enum class StartupCacheKind {
    None,             // before Java 13
    ArchiveAtExit,    // 13 to 18: -XX:ArchiveClassesAtExit once, then -XX:SharedArchiveFile
    DynamicArchive,   // 19 to 24: -XX:+AutoCreateSharedArchive -XX:SharedArchiveFile
    AheadOfTimeCache, // 25 and later: -XX:AOTCacheOutput once (written at exit), then -XX:AOTCache
};

StartupCacheKind startupCacheKindFor(int featureVersion);

// How the trace names a kind ("dynamic class-data archive", ...).
const char* startupCacheKindName(StartupCacheKind kind);

// The first option in the application's own VM options that names a cache or an archive, or turns
// class sharing off or on by itself (-Xshare:...); empty when there is none. The launcher then adds
// nothing of its own.
std::string ownCacheOption(const std::string& vmOptions);

// The environment variable that turns the cache off for one start, and whether its value does.
extern const char* const StartupCacheVariable;
bool startupCacheTurnedOff(const std::string& value);

// What a cache belongs to. Each part is text that changes whenever what it stands for changes.
struct StartupCacheKey {
    std::string application;      // the launcher's own path: one installation of the application
    std::string runtime;          // the runtime's home (its executable's path when unknown)
    std::string runtimeBuild;     // the runtime's release file (or executable): size and time
    std::string applicationBuild; // jar size and time, the launcher's version, the VM options
};

// The cache file's name: four groups of eight hex digits (application, runtime, runtime build,
// application build) and .aot or .jsa by kind.
std::string startupCacheFileName(const StartupCacheKey& key, StartupCacheKind kind);

// Of the names in the cache folder, those to remove beside the current cache: caches of the same
// application made by the same runtime (an older build of either), and those of other runtimes
// made for another build of the application, with the runtime's temporary files of them.
// Names of another shape, and other applications' caches, are never touched.
std::vector<std::string> outdatedStartupCaches(const std::vector<std::string>& names, const std::string& current);

// How many leading bytes of a cache file startupCacheLooksUsable reads.
constexpr std::size_t StartupCacheHeaderSize = 4;
// Whether a file's first bytes are those of a cache of this kind (its magic number). A runtime
// ignores a cache it cannot read, and 19 to 24 do not replace one that is no archive at all, so the
// launcher replaces it.
bool startupCacheLooksUsable(StartupCacheKind kind, const std::string& header);

// The options that make or use the cache at `file`, separated by a blank, each one argument
// (quoted when the path has blanks); `exists` says whether the file is there. Empty for None.
std::string startupCacheOptions(StartupCacheKind kind, const std::string& file, bool exists);

// Whether the runtime writes the cache during this start (so the folder must take a file).
bool startupCacheWrites(StartupCacheKind kind, bool exists);

// A product or launcher name as a folder name: characters that no file name may hold, and '%',
// become '_'; leading blanks and trailing dots and blanks go; "launcher" when nothing is left.
std::string startupCacheFolderName(const std::string& name);
