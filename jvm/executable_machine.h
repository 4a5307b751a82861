#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/pe_header.h"

// Machine types of the executable header, as the platform numbers them.
enum class Machine : std::uint16_t {
    Unknown = 0,
    X86 = PeMachineI386,
    X64 = PeMachineAmd64,
    Arm64 = PeMachineArm64,
};

// How much of an executable's start is read for its header: the DOS header, its stub and the
// file header after it lie within the first few kilobytes of every executable a linker makes.
constexpr std::size_t ExecutableHeadBytes = 4096;

// The machine an executable is built for, from the file header's machine field: Unknown when the
// bytes are no executable (no MZ signature, a header offset outside them, no PE signature and
// file header) or of another machine.
// `head` is the start of the file, at most ExecutableHeadBytes are looked at.
Machine machineOfExecutable(const std::string& head);

// The machines whose runtimes a PC runs, best first: an ARM64 PC runs ARM64, then x64 (emulated),
// then x86 code; an x64 PC runs x64, then x86; an x86 PC only x86.
std::vector<Machine> machinesRunOn(Machine pc);
