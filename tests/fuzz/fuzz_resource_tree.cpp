// A resource section on its own: the directory read from the bytes, data addressed in them.
#include <cstdint>

#include "configure/resources/resource_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes section(data, data + size);
    constexpr std::uint32_t SectionRva = 0x1000;
    Result<ResourceTree> tree = parseResourceSection(
        section, 0, static_cast<std::uint32_t>(size), [&](std::uint32_t rva, std::uint32_t length) -> const std::uint8_t* {
            if (rva < SectionRva || static_cast<std::uint64_t>(rva - SectionRva) + length > section.size()) return nullptr;
            return section.data() + (rva - SectionRva);
        });
    if (tree) {
        Bytes again = serialiseResourceSection(tree.value(), SectionRva);
        if (again.size() > 4 * size + 4096) __builtin_trap(); // memory grows with the input
    }
    return 0;
}
