#include "jvm/executable_machine.h"

#include <algorithm>

namespace {

constexpr std::size_t HeaderOffsetField = 0x3C;

std::uint32_t dwordAt(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

Machine machineOfExecutable(const std::string& head) {
    std::size_t size = head.size() < ExecutableHeadBytes ? head.size() : ExecutableHeadBytes;
    if (size < HeaderOffsetField + 4 || head[0] != 'M' || head[1] != 'Z') return Machine::Unknown;
    std::uint32_t header = dwordAt(head, HeaderOffsetField);
    // The signature and the machine field after it: six bytes, all within what was read.
    if (header > size || size - header < 6) return Machine::Unknown;
    if (head.compare(header, 4, std::string("PE\0\0", 4)) != 0) return Machine::Unknown;
    auto machine = static_cast<std::uint16_t>(static_cast<unsigned char>(head[header + 4]) |
                                              (static_cast<unsigned char>(head[header + 5]) << 8));
    switch (static_cast<Machine>(machine)) {
    case Machine::X86:
    case Machine::X64:
    case Machine::Arm64:
        return static_cast<Machine>(machine);
    default:
        return Machine::Unknown;
    }
}

std::vector<Machine> machinesRunOn(Machine pc, const std::optional<std::vector<Machine>>& userEnabled) {
    std::vector<Machine> order;
    if (pc == Machine::Arm64) order = {Machine::Arm64, Machine::X64, Machine::X86};
    if (pc == Machine::X64) order = {Machine::X64, Machine::X86};
    if (pc == Machine::X86) order = {Machine::X86};
    std::vector<Machine> runs;
    for (Machine machine : order) {
        bool enabled = userEnabled ? std::find(userEnabled->begin(), userEnabled->end(), machine) != userEnabled->end()
                                   : !(pc == Machine::Arm64 && machine == Machine::X64);
        if (machine == pc || enabled) runs.push_back(machine);
    }
    return runs;
}

const char* machineName(Machine machine) {
    switch (machine) {
    case Machine::X86:
        return "x86";
    case Machine::X64:
        return "x64";
    case Machine::Arm64:
        return "ARM64";
    default:
        return "unknown";
    }
}
