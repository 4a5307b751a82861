#include "jvm/executable_machine.h"

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

std::vector<Machine> machinesRunOn(Machine pc) {
    switch (pc) {
    case Machine::Arm64:
        return {Machine::Arm64, Machine::X64, Machine::X86};
    case Machine::X64:
        return {Machine::X64, Machine::X86};
    case Machine::X86:
        return {Machine::X86};
    default:
        return {};
    }
}
