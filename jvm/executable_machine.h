#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

// The machines whose runtimes a PC runs, best first: its own, then x64 (on ARM64), then x86.
// `userEnabled`, where the system tells it (GetMachineTypeAttributes, Windows 11 and Server 2022),
// is the machines whose code runs in user mode there. Without it an ARM64 PC runs Windows 10, which
// emulates x86 code only (x64 emulation came with Windows 11). An Unknown PC gives no machines.
std::vector<Machine> machinesRunOn(Machine pc, const std::optional<std::vector<Machine>>& userEnabled = std::nullopt);

// "x86", "x64", "ARM64", "unknown", as traces name them.
const char* machineName(Machine machine);
