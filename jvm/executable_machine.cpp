#include "jvm/executable_machine.h"

#include <algorithm>

#include "base/pe_header.h"

Machine machineOfExecutable(const std::string& head) {
    std::size_t size = head.size() < ExecutableHeadBytes ? head.size() : ExecutableHeadBytes;
    Result<PeFileHeader> header = readPeFileHeader(reinterpret_cast<const std::uint8_t*>(head.data()), size);
    if (!header) return Machine::Unknown;
    switch (static_cast<Machine>(header.value().machine)) {
    case Machine::X86:
    case Machine::X64:
    case Machine::Arm64:
        return static_cast<Machine>(header.value().machine);
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
