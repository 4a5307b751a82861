#include "jvm/version.h"

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

std::string versionFromReleaseFile(const std::string& text) {
    static const std::string key = "JAVA_VERSION=\"";
    std::string::size_type lineStart = 0;
    while (lineStart < text.size()) {
        std::string::size_type lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        if (text.compare(lineStart, key.size(), key) == 0) {
            std::string::size_type open = lineStart + key.size();
            std::string::size_type close = text.find('"', open);
            if (close == std::string::npos || close > lineEnd) return std::string();
            return text.substr(open, close - open);
        }
        lineStart = lineEnd + 1;
    }
    return std::string();
}
