// The startup-cache options the launcher chooses, for the benchmark on real runtimes:
// cache_options FEATURE_VERSION FOLDER JAR JAVA prints the cache's path, then the options of the
// first start and of a later one (one line each; empty lines when the version gets no cache).
#include <cstdio>
#include <cstdlib>

#include "launcher/startup_cache_rules.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: cache_options FEATURE_VERSION FOLDER JAR JAVA\n");
        return 2;
    }
    StartupCacheKind kind = startupCacheKindFor(std::atoi(argv[1]));
    StartupCacheKey key{argv[3], argv[4], "benchmark runtime", "benchmark application"};
    std::string path = std::string(argv[2]) + "/" + startupCacheFileName(key, kind);
    std::printf("%s\n%s\n%s\n", kind == StartupCacheKind::None ? "" : path.c_str(),
                startupCacheOptions(kind, path, false).c_str(), startupCacheOptions(kind, path, true).c_str());
    return 0;
}
