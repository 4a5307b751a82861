#include "configure/resources/res_file.h"

#include "base/little_endian.h"

namespace {

using namespace little_endian;

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
    alignTo(out, 4);
}

} // namespace

Bytes resFileBytes(const std::vector<Resource>& resources) {
    Bytes out;
    putEntry(out, 0, 0, 0, 0, {}); // the empty entry that marks a 32-bit resource file
    for (const Resource& resource : resources) {
        std::uint16_t flags = (resource.type == ResourceTypeString || resource.type == 3 || resource.type == 14)
                                  ? 0x1030
                                  : 0x0030;
        putEntry(out, resource.type, resource.name, flags, resource.language, resource.data);
    }
    return out;
}
