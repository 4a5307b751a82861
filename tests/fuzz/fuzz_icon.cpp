// Icon files: refused with a reason or turned into a group and images that lie inside the file.
#include <cstdint>

#include "configure/resources/executable_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<std::vector<Resource>> icons = iconResources(Bytes(data, data + size));
    if (!icons) return 0;
    std::size_t total = 0;
    for (const Resource& resource : icons.value()) total += resource.data.size();
    if (icons.value().size() > MaxIconImages + 1 || total > size * (MaxIconImages + 1)) __builtin_trap();
    return 0;
}
