#include "tools/resources/res_file.h"

namespace {

void putWord(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putDword(Bytes& out, std::uint32_t value) {
    putWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    putWord(out, static_cast<std::uint16_t>(value >> 16));
}

void putEntry(Bytes& out, std::uint16_t type, std::uint16_t name, std::uint16_t flags, std::uint16_t language,
              const Bytes& data) {
    putDword(out, static_cast<std::uint32_t>(data.size()));
    putDword(out, 32); // header size with ordinal type and name
    putWord(out, 0xFFFF);
    putWord(out, type);
    putWord(out, 0xFFFF);
    putWord(out, name);
    putDword(out, 0); // data version
    putWord(out, flags);
    putWord(out, language);
    putDword(out, 0); // version
    putDword(out, 0); // characteristics
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4) out.push_back(0);
}

} // namespace

Bytes resFileBytes(const std::vector<Resource>& resources) {
    Bytes out;
    putEntry(out, 0, 0, 0, 0, {}); // the empty entry that marks a 32-bit resource file
    for (const Resource& resource : resources) {
        std::uint16_t flags = resource.type == ResourceTypeString ? 0x1030 : 0x0030;
        putEntry(out, resource.type, resource.name, flags, resource.language, resource.data);
    }
    return out;
}
