#pragma once

#include <cstdint>
#include <optional>
#include <string>

// max_heap_percent: "P[,FLOOR_MB[,CAP_MB]]", the maximum heap as P % (1 to 100) of the PC's
// physical memory, at least FLOOR_MB and at most CAP_MB megabytes (each 1 to 16777216; either
// may be left empty, "50,,4096"). A cap below the floor is no share: one of them would be ignored.
struct HeapShare {
    unsigned percent = 0;
    std::uint64_t floorMegabytes = 0; // 0: none
    std::uint64_t capMegabytes = 0;   // 0: none
};
std::optional<HeapShare> parseHeapShare(const std::string& text);

// Why a max_heap_percent text is no share, for the tool; nothing when it is one.
std::optional<std::string> heapShareProblem(const std::string& text);

// The most a 32-bit runtime is given. A 32-bit process has 2 GB of user address space (Microsoft's
// "Memory Limits for Windows and Windows Server Releases"), and the VM reserves its whole heap as
// one range of it, which the system's and the runtime's own libraries cut up; when it finds no
// range that large it refuses to start (JDK-6940674). 1 GB is found on every PC, the figures that
// users report for the largest heap (1.2 to 1.6 GB) are not.
constexpr std::uint64_t Runtime32BitHeapLimitMegabytes = 1024;

// The -Xmx figure in megabytes for `physicalBytes` of memory, and which bound decided it.
struct HeapFigure {
    std::uint64_t megabytes = 0;
    enum class Bound { Share, Floor, Cap, Runtime32Bit } bound = Bound::Share;
};
HeapFigure maximumHeapFigure(const HeapShare& share, std::uint64_t physicalBytes, bool runtime32Bit);

// The option of a VM options text that already sets the maximum heap (-Xmx..., -XX:MaxHeapSize=...,
// -XX:MaxRAMPercentage=...); "" when none does.
std::string maximumHeapOption(const std::string& options);
