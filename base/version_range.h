#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The Java feature versions an option is meant for, both ends included: [17] is 17 alone, [9-23]
// 9 to 23, [24+] 24 and later, [-8] 8 and earlier.
struct VersionRange {
    int lowest = 1;
    int highest = HighestFeatureVersion;
    static constexpr int HighestFeatureVersion = 9999;

    bool admits(int featureVersion) const { return featureVersion >= lowest && featureVersion <= highest; }
    bool operator==(const VersionRange&) const = default;
};

// What stands at the start of an option's text. Java options never begin with '[', so a '[' always
// starts a range: one that is not well-formed is Malformed, never an option.
struct RangePrefix {
    enum class Kind { None, Range, Malformed } kind = Kind::None;
    VersionRange range;
    std::size_t length = 0; // of the prefix, brackets included
};
RangePrefix readRangePrefix(std::string_view text);

// The range as it is written, brackets included: "[9-23]".
std::string rangeText(const VersionRange& range);

// Why a vm_options text is not what the launcher can use (a malformed range, a range with a blank
// or nothing after it); nothing when it is fine. Ranges stand at the start of an option, which
// starts at the start of the text or after a blank outside double quotes.
std::optional<std::string> vmOptionsProblem(const std::string& text);

// Where each option of a vm_options text starts and ends: blanks outside double quotes separate
// them. Calls `option(start, end)` for each, in order.
template <typename OptionFound>
void forEachOption(std::string_view text, OptionFound option) {
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        if (at == text.size()) return;
        std::size_t end = at;
        bool quoted = false;
        while (end < text.size() && (quoted || (text[end] != ' ' && text[end] != '\t'))) {
            if (text[end] == '"') quoted = !quoted;
            ++end;
        }
        option(at, end);
        at = end;
    }
}
