#include "settings_contract/setting_values.h"

#include <climits>

#include "settings_contract/java_version.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowercase(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = lowered(c);
    return lower;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && lowercase(text.substr(0, prefix.size())) == prefix;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type at = 0;
    while (true) {
        std::string::size_type end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return parts;
        at = end + 1;
    }
}

std::string withoutBlanksAround(const std::string& text) {
    std::string::size_type first = 0, end = text.size();
    while (first < end && isBlank(text[first])) ++first;
    while (end > first && isBlank(text[end - 1])) --end;
    return text.substr(first, end - first);
}

std::string hexByte(unsigned char byte) {
    const char* digits = "0123456789ABCDEF";
    return std::string("U+00") + digits[byte >> 4] + digits[byte & 15];
}

} // namespace

const char* valueKindName(ValueKind kind) {
    switch (kind) {
    case ValueKind::Text: return "text";
    case ValueKind::Flag: return "flag";
    case ValueKind::Number: return "number";
    case ValueKind::JavaVersion: return "java-version";
    case ValueKind::WebAddress: return "web-address";
    case ValueKind::ExitStatuses: return "exit-statuses";
    case ValueKind::FileVersion: return "file-version";
    }
    return "text";
}

std::optional<unsigned char> controlCharacter(const std::string& value) {
    for (char c : value) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return byte;
    }
    return std::nullopt;
}

bool flagIsOn(const std::string& text) { return !text.empty(); }

std::optional<bool> flagWord(const std::string& text) {
    std::string word = lowercase(text);
    if (word == "on" || word == "yes" || word == "true" || word == "1") return true;
    if (word == "off" || word == "no" || word == "false" || word == "0") return false;
    return std::nullopt;
}

std::optional<std::int64_t> wholeNumber(const std::string& text) {
    constexpr std::int64_t Limit = 100000000000000000; // 10^17
    bool negative = !text.empty() && text[0] == '-';
    std::size_t at = negative ? 1 : 0;
    if (at == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        if (!isDigit(text[at])) return std::nullopt;
        value = value * 10 + (text[at] - '0');
        if (value > Limit) return std::nullopt;
    }
    return negative ? -value : value;
}

int numberAsRead(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    std::int64_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > std::int64_t{INT_MAX} + 1) break; // clamped below either way
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::uint32_t startupCheckSeconds(const std::string& text) {
    constexpr std::int64_t SecondsInADay = 24 * 60 * 60;
    std::optional<std::int64_t> seconds = wholeNumber(text);
    if (!seconds || *seconds < 0) return DefaultStartupCheckSeconds;
    return static_cast<std::uint32_t>(*seconds < SecondsInADay ? *seconds : SecondsInADay);
}

bool isWebAddress(const std::string& text) {
    std::size_t scheme = startsWithIgnoringCase(text, "https://") ? 8 : startsWithIgnoringCase(text, "http://") ? 7 : 0;
    if (!scheme || text.size() == scheme) return false;
    return text.find_first_of(" \t\"<>") == std::string::npos && !controlCharacter(text);
}

std::string downloadAddress(const std::string& setting) { return isWebAddress(setting) ? setting : JavaDownloadUrl; }

Result<std::vector<std::uint32_t>> parseExitStatuses(const std::string& text) {
    std::vector<std::uint32_t> statuses;
    if (text.empty()) return statuses;
    for (const std::string& item : split(text, ',')) {
        std::optional<std::int64_t> status = wholeNumber(withoutBlanksAround(item));
        if (!status || *status < INT32_MIN || *status > std::int64_t{UINT32_MAX})
            return Failure{0, "\"" + item + "\" is not an exit status from -2147483648 to 4294967295"};
        statuses.push_back(static_cast<std::uint32_t>(*status)); // a negative one wraps to its two's complement
    }
    return statuses;
}

std::optional<std::vector<unsigned>> parseFileVersion(const std::string& text) {
    std::vector<unsigned> parts;
    for (const std::string& part : split(text, '.')) {
        std::optional<std::int64_t> value = part.empty() || part[0] == '-' ? std::nullopt : wholeNumber(part);
        if (!value || *value > 65535) return std::nullopt;
        parts.push_back(static_cast<unsigned>(*value));
    }
    if (parts.size() > 4) return std::nullopt;
    parts.resize(4, 0);
    return parts;
}

std::optional<std::string> valueProblem(const ValueRule& rule, const std::string& value) {
    if (std::optional<unsigned char> control = controlCharacter(value))
        return "holds the control character " + hexByte(*control) + " (only tab is allowed)";
    switch (rule.kind) {
    case ValueKind::Text:
        return std::nullopt;
    case ValueKind::Flag:
        if (flagWord(value)) return std::nullopt;
        return "is not a flag (on, yes, true or 1 turn it on; off, no, false or 0 leave it off)";
    case ValueKind::Number: {
        std::optional<std::int64_t> number = wholeNumber(value);
        if (number && *number >= rule.least && *number <= rule.most) return std::nullopt;
        return "is not a whole number from " + std::to_string(rule.least) + " to " + std::to_string(rule.most);
    }
    case ValueKind::JavaVersion:
        if (isJavaVersion(value)) return std::nullopt;
        return "is not a Java version (numbers separated by dots or underscores, such as 1.8 or 17.0.2)";
    case ValueKind::WebAddress:
        if (isWebAddress(value)) return std::nullopt;
        return "is not an http:// or https:// address without blanks, quotes, < or >";
    case ValueKind::ExitStatuses:
        if (parseExitStatuses(value)) return std::nullopt;
        return "is not a list of exit statuses from -2147483648 to 4294967295 separated by commas";
    case ValueKind::FileVersion:
        if (parseFileVersion(value)) return std::nullopt;
        return "is not up to four numbers from 0 to 65535 separated by dots";
    }
    return std::nullopt;
}
