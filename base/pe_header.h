#pragma once

#include <cstddef>
#include <cstdint>

#include "base/result.h"

// The start of a Windows executable: the MZ header, whose field at 0x3C holds the offset of the
// "PE\0\0" signature, and the file header right after the signature. The launcher reads it to
// learn a runtime's machine, the configuration tool before it rewrites an executable.

// Machine types of the file header, as the platform numbers them.
constexpr std::uint16_t PeMachineI386 = 0x014C;
constexpr std::uint16_t PeMachineAmd64 = 0x8664;
constexpr std::uint16_t PeMachineArm64 = 0xAA64;

// The file header's fields, and where it lies.
struct PeFileHeader {
    std::size_t offset = 0; // of the file header: the signature's offset + 4
    std::uint16_t machine = 0;
    std::uint16_t sectionCount = 0;
    std::uint16_t optionalHeaderSize = 0;
    std::uint16_t characteristics = 0;
};

// The size of the file header: what must follow the signature within the bytes read.
constexpr std::size_t PeFileHeaderSize = 20;

// Reads the headers from the first `size` bytes of a file, never beyond them. Refused, with the
// reason, when the bytes have no MZ header or no whole PE signature and file header where the
// MZ header says.
Result<PeFileHeader> readPeFileHeader(const std::uint8_t* bytes, std::size_t size);
