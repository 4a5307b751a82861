#include "base/version_range.h"

namespace {

// A feature version as written in a range: 1 to 9999 without leading zeros.
std::optional<int> featureNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 4 || digits[0] == '0') return std::nullopt;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<VersionRange> rangeOf(std::string_view inside) {
    if (!inside.empty() && inside.back() == '+') {
        std::optional<int> lowest = featureNumber(inside.substr(0, inside.size() - 1));
        if (!lowest) return std::nullopt;
        return VersionRange{*lowest, VersionRange::HighestFeatureVersion};
    }
    if (!inside.empty() && inside[0] == '-') {
        std::optional<int> highest = featureNumber(inside.substr(1));
        if (!highest) return std::nullopt;
        return VersionRange{1, *highest};
    }
    std::size_t dash = inside.find('-');
    if (dash == std::string_view::npos) {
        std::optional<int> only = featureNumber(inside);
        if (!only) return std::nullopt;
        return VersionRange{*only, *only};
    }
    std::optional<int> lowest = featureNumber(inside.substr(0, dash));
    std::optional<int> highest = featureNumber(inside.substr(dash + 1));
    if (!lowest || !highest || *lowest > *highest) return std::nullopt;
    return VersionRange{*lowest, *highest};
}

} // namespace

RangePrefix readRangePrefix(std::string_view text) {
    if (text.empty() || text[0] != '[') return RangePrefix{};
    std::size_t close = text.find(']');
    // The longest range, "[9999-9999]", is 11 characters.
    if (close == std::string_view::npos || close > 10) return RangePrefix{RangePrefix::Kind::Malformed, VersionRange{}, 0};
    std::optional<VersionRange> range = rangeOf(text.substr(1, close - 1));
    if (!range) return RangePrefix{RangePrefix::Kind::Malformed, VersionRange{}, 0};
    return RangePrefix{RangePrefix::Kind::Range, *range, close + 1};
}

std::string rangeText(const VersionRange& range) {
    std::string lowest = std::to_string(range.lowest), highest = std::to_string(range.highest);
    if (range.lowest == range.highest) return "[" + lowest + "]";
    if (range.highest == VersionRange::HighestFeatureVersion) return "[" + lowest + "+]";
    if (range.lowest == 1) return "[-" + highest + "]";
    return "[" + lowest + "-" + highest + "]";
}

std::optional<std::string> vmOptionsProblem(const std::string& text) {
    std::optional<std::string> problem;
    forEachOption(text, [&](std::size_t start, std::size_t end) {
        if (problem) return;
        std::string_view option = std::string_view(text).substr(start, end - start);
        RangePrefix prefix = readRangePrefix(option);
        if (prefix.kind == RangePrefix::Kind::Malformed)
            problem = "has \"" + std::string(option) +
                      "\": a version range is [N], [N-M], [N+] or [-N] with feature versions from 1 to 9999, "
                      "the lower first";
        else if (prefix.kind == RangePrefix::Kind::Range && prefix.length == option.size())
            problem = "has the version range " + std::string(option) +
                      " without an option: write the option right after it, with no blank between";
    });
    return problem;
}
