#include "base/pe_header.h"

#include "base/little_endian.h"

using namespace little_endian;

namespace {

constexpr std::size_t HeaderOffsetField = 0x3C;
constexpr std::size_t MzHeaderSize = HeaderOffsetField + 4;
constexpr std::size_t SignatureSize = 4;

} // namespace

Result<PeFileHeader> readPeFileHeader(const std::uint8_t* bytes, std::size_t size) {
    if (size < MzHeaderSize || bytes[0] != 'M' || bytes[1] != 'Z')
        return Failure{0, "not a Windows executable (no MZ header)"};
    std::uint32_t signature = dword(bytes + HeaderOffsetField);
    // Compared without adding to the offset, which may be anything up to 4 GiB.
    if (signature > size || size - signature < SignatureSize + PeFileHeaderSize || bytes[signature] != 'P' ||
        bytes[signature + 1] != 'E' || bytes[signature + 2] != 0 || bytes[signature + 3] != 0)
        return Failure{0, "not a PE executable (no PE signature)"};
    PeFileHeader header;
    header.offset = signature + SignatureSize;
    const std::uint8_t* at = bytes + header.offset;
    header.machine = word(at);
    header.sectionCount = word(at + 2);
    header.optionalHeaderSize = word(at + 16);
    header.characteristics = word(at + 18);
    return header;
}
