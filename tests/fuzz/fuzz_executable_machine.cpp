// The start of a runtime's executable, as read from disk, and the machine its header names.
#include <cstdint>
#include <string>

#include "jvm/executable_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string head(reinterpret_cast<const char*>(data), size);
    Machine machine = machineOfExecutable(head);
    if (machine != Machine::Unknown && (size < 0x40 || head[0] != 'M')) __builtin_trap();
    // What lies past the bytes read never changes the answer.
    if (size > ExecutableHeadBytes && machineOfExecutable(head.substr(0, ExecutableHeadBytes)) != machine)
        __builtin_trap();
    return 0;
}
