// Versions as banners, release files and settings give them, compared with each other.
#include <cstdint>
#include <string>

#include "jvm/version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string::size_type split = text.find('\0');
    std::string first = text.substr(0, split), second = split == std::string::npos ? "" : text.substr(split + 1);
    versionFromBanner(text);
    versionFromReleaseFile(text);
    bool atLeast = versionAtLeast(first, second), reverse = versionAtLeast(second, first);
    if (!second.empty() && second[0] >= '0' && second[0] <= '9' && !versionAtLeast(second, second)) __builtin_trap();
    if (!atLeast && !reverse && !second.empty() && !first.empty() && first[0] >= '0' && first[0] <= '9' &&
        second[0] >= '0' && second[0] <= '9')
        __builtin_trap(); // two versions always compare one way or the other
    versionAtMost(first, second);
    return 0;
}
