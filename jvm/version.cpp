#include "jvm/version.h"

#include <cstdint>
#include <vector>

std::string versionFromBanner(const std::string& banner) {
    static const std::string marker = "version \"";
    std::string::size_type lineStart = 0;
    while (lineStart < banner.size()) {
        std::string::size_type lineEnd = banner.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = banner.size();
        std::string line = banner.substr(lineStart, lineEnd - lineStart);
        std::string::size_type at = line.find(marker);
        if (at != std::string::npos) {
            std::string::size_type open = at + marker.size();
            std::string::size_type close = line.find('"', open);
            // A banner cut off before its closing quote still names its version.
            if (close == std::string::npos) close = line.find_first_of("\r", open);
            if (close == std::string::npos) close = line.size();
            return line.substr(open, close - open);
        }
        lineStart = lineEnd + 1;
    }
    return std::string();
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::uint64_t> versionComponents(const std::string& text) {
    std::vector<std::uint64_t> components(1, 0);
    for (char c : text) {
        if (isDigit(c)) {
            std::uint64_t& last = components.back();
            unsigned digit = static_cast<unsigned>(c - '0');
            // Saturate rather than wrap: absurdly long numbers still compare as large.
            last = last > (UINT64_MAX - digit) / 10 ? UINT64_MAX : last * 10 + digit;
        } else if (c == '.' || c == '_') {
            components.push_back(0);
        } else {
            break;
        }
    }
    return components;
}

} // namespace

bool versionAtLeast(const std::string& minimum, const std::string& version) {
    if (version.empty() || !isDigit(version[0])) return false;
    std::vector<std::uint64_t> have = versionComponents(version);
    std::vector<std::uint64_t> need =
        (!minimum.empty() && isDigit(minimum[0])) ? versionComponents(minimum) : std::vector<std::uint64_t>{0};
    std::size_t count = have.size() > need.size() ? have.size() : need.size();
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t a = i < have.size() ? have[i] : 0;
        std::uint64_t b = i < need.size() ? need[i] : 0;
        if (a != b) return a > b;
    }
    return true;
}
