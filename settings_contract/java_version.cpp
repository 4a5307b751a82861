#include "settings_contract/java_version.h"

#include <cstdint>
#include <vector>

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

bool startsWithDigit(const std::string& text) { return !text.empty() && isDigit(text[0]); }

// Java 8 and older call themselves 1.N, later ones N: 1.8 and 8 are one version.
std::vector<std::uint64_t> comparableComponents(const std::string& text) {
    std::vector<std::uint64_t> components = versionComponents(text);
    if (components.size() >= 2 && components[0] == 1 && components[1] >= 2) components.erase(components.begin());
    return components;
}

} // namespace

bool versionAtLeast(const std::string& minimum, const std::string& version) {
    if (!startsWithDigit(version)) return false;
    std::vector<std::uint64_t> have = comparableComponents(version);
    std::vector<std::uint64_t> need =
        startsWithDigit(minimum) ? comparableComponents(minimum) : std::vector<std::uint64_t>{0};
    std::size_t count = have.size() > need.size() ? have.size() : need.size();
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t a = i < have.size() ? have[i] : 0;
        std::uint64_t b = i < need.size() ? need[i] : 0;
        if (a != b) return a > b;
    }
    return true;
}

bool versionAtMost(const std::string& maximum, const std::string& version) {
    if (maximum.empty()) return true;
    if (!startsWithDigit(version)) return false;
    std::vector<std::uint64_t> limit =
        startsWithDigit(maximum) ? comparableComponents(maximum) : std::vector<std::uint64_t>{0};
    std::vector<std::uint64_t> have = comparableComponents(version);
    for (std::size_t i = 0; i < limit.size(); ++i) {
        std::uint64_t component = i < have.size() ? have[i] : 0;
        if (component != limit[i]) return component < limit[i];
    }
    return true;
}

bool isJavaVersion(const std::string& text) {
    std::size_t digits = 0;
    for (char c : text) {
        if (isDigit(c)) {
            if (++digits > 9) return false;
        } else if ((c == '.' || c == '_') && digits > 0) {
            digits = 0;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool versionRangeCanBeMet(const std::string& minimum, const std::string& maximum) {
    // Every version at least the minimum agrees with it or lies above it on the maximum's
    // components, so the minimum itself is the first candidate that could fit.
    return versionAtMost(maximum, minimum.empty() ? DefaultMinimumVersion : minimum);
}

std::optional<int> featureVersionOf(const std::string& version) {
    if (!startsWithDigit(version)) return std::nullopt;
    std::vector<std::uint64_t> components = comparableComponents(version);
    // A feature version past any real one is as good as unknown.
    if (components[0] > 100000) return std::nullopt;
    return static_cast<int>(components[0]);
}
