#include "settings_contract/heap_share.h"

#include <vector>

#include "base/version_range.h"

namespace {

constexpr std::uint64_t MostMegabytes = 16777216; // 16 TB, past any PC's memory

std::string trimmed(const std::string& text) {
    std::string::size_type first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// A whole number from 1 to `most` in decimal digits; nothing otherwise.
std::optional<std::uint64_t> number(const std::string& text, std::uint64_t most) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    std::uint64_t value = 0;
    for (char digit : text) value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    if (value < 1 || value > most) return std::nullopt;
    return value;
}

std::vector<std::string> parts(const std::string& text) {
    std::vector<std::string> found;
    std::string::size_type at = 0;
    for (;;) {
        std::string::size_type comma = text.find(',', at);
        found.push_back(trimmed(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
        if (comma == std::string::npos) return found;
        at = comma + 1;
    }
}

} // namespace

std::optional<HeapShare> parseHeapShare(const std::string& text) {
    std::vector<std::string> given = parts(text);
    if (given.size() > 3) return std::nullopt;
    HeapShare share;
    std::optional<std::uint64_t> percent = number(given[0], 100);
    if (!percent) return std::nullopt;
    share.percent = static_cast<unsigned>(*percent);
    for (std::size_t i = 1; i < given.size(); ++i) {
        if (given[i].empty()) continue;
        std::optional<std::uint64_t> megabytes = number(given[i], MostMegabytes);
        if (!megabytes) return std::nullopt;
        (i == 1 ? share.floorMegabytes : share.capMegabytes) = *megabytes;
    }
    if (share.floorMegabytes && share.capMegabytes && share.capMegabytes < share.floorMegabytes) return std::nullopt;
    return share;
}

std::optional<std::string> heapShareProblem(const std::string& text) {
    if (parseHeapShare(text)) return std::nullopt;
    return "is not P[,FLOOR_MB[,CAP_MB]]: a percentage from 1 to 100, then optionally the least and the most "
           "megabytes (1 to 16777216, the cap not below the floor), such as 25,512,8192";
}

HeapFigure maximumHeapFigure(const HeapShare& share, std::uint64_t physicalBytes, bool runtime32Bit) {
    HeapFigure figure;
    // In megabytes first: a percentage of the bytes could overflow on no PC, but this cannot at all.
    figure.megabytes = physicalBytes / (1024 * 1024) * share.percent / 100;
    if (share.floorMegabytes && figure.megabytes < share.floorMegabytes) {
        figure.megabytes = share.floorMegabytes;
        figure.bound = HeapFigure::Bound::Floor;
    }
    if (share.capMegabytes && figure.megabytes > share.capMegabytes) {
        figure.megabytes = share.capMegabytes;
        figure.bound = HeapFigure::Bound::Cap;
    }
    if (runtime32Bit && figure.megabytes > Runtime32BitHeapLimitMegabytes) {
        figure.megabytes = Runtime32BitHeapLimitMegabytes;
        figure.bound = HeapFigure::Bound::Runtime32Bit;
    }
    // The VM's least maximum heap is a few megabytes; below that it refuses to start.
    if (figure.megabytes < 8) figure.megabytes = 8;
    return figure;
}

std::string maximumHeapOption(const std::string& options) {
    static const char* const HeapOptions[] = {"-Xmx", "-XX:MaxHeapSize=", "-XX:MaxRAMPercentage="};
    std::string found;
    forEachOption(options, [&](std::size_t start, std::size_t end) {
        std::string option = options.substr(start, end - start);
        if (!option.empty() && option[0] == '"') option.erase(0, 1);
        for (const char* heap : HeapOptions)
            if (found.empty() && option.rfind(heap, 0) == 0) found = options.substr(start, end - start);
    });
    return found;
}
