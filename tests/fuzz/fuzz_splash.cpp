// The splash resource's bytes: a file header is added only where the pixels lie inside them.
#include <cstdint>

#include "base/little_endian.h"
#include "ui/picture_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file = pictureFileBytes(data, size);
    if (file.size() == size + 14 && little_endian::dword(&file[10]) > file.size()) __builtin_trap();
    return 0;
}
