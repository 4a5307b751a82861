#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"

// The value rules of the settings: how the launcher reads each kind of value, and which texts the
// configuration tool writes (exactly those the launcher uses as they are written).

// What a value must be for the launcher to use it. Every value also holds no control character
// but tab: the launcher's command line and messages end at a NUL and break at the others.
enum class ValueKind {
    Text,         // any text
    Flag,         // on, yes, true or 1 (written "on"); off, no, false or 0 (left out)
    Number,       // a decimal whole number from `least` to `most`
    JavaVersion,  // numbers separated by '.' or '_', as the launcher compares versions (1.8.0_392)
    WebAddress,   // an http:// or https:// address the launcher opens (no blanks, quotes or <>)
    ExitStatuses, // exit statuses separated by commas, each from -2^31 to 2^32 - 1
    FileVersion,  // up to four numbers from 0 to 65535 separated by dots
};

struct ValueRule {
    ValueKind kind = ValueKind::Text;
    std::int64_t least = 0, most = 0; // for numbers
};

// "text", "flag", "number", ... as the key table names the kinds for other programs.
const char* valueKindName(ValueKind kind);

// Longest values, in UTF-16 units: a string table entry's length is a 16-bit number; the version
// resource's texts share its 16-bit sizes.
constexpr std::size_t MaxSettingLength = 65535;
constexpr std::size_t MaxMetadataLength = 1024;

// Why a (non-empty) `value` does not follow `rule` ("is not a whole number from 0 to 3600", ...);
// nothing when the launcher uses it as written.
std::optional<std::string> valueProblem(const ValueRule& rule, const std::string& value);

// The first control character other than tab in `value`.
std::optional<unsigned char> controlCharacter(const std::string& value);

// --- Flags ---------------------------------------------------------------------------------
// The launcher's reading: on whenever the entry has any text at all, whatever it says (stored
// executables rely on it).
bool flagIsOn(const std::string& text);
// The words a settings file may give a flag (in any letter case): true for on, yes, true and 1,
// false for off, no, false and 0; nothing for any other word.
std::optional<bool> flagWord(const std::string& text);
// What the tool stores for a flag that is on; one that is off is left out.
inline constexpr const char* FlagOnText = "on";

// --- Numbers -------------------------------------------------------------------------------
// A decimal whole number: an optional '-', then digits (leading zeros allowed). Nothing for
// anything else, or for numbers beyond 10^17 either way (far beyond every rule's bounds).
std::optional<std::int64_t> wholeNumber(const std::string& text);
// The launcher's reading of a number setting, as the C library's atoi reads it: blanks skipped,
// an optional sign, digits up to the first other character; 0 without any; clamped to the
// range of int as the platform's atoi clamps.
int numberAsRead(const std::string& text);

// startup_check_seconds as the launcher reads it: 10 when absent or not a whole number from 0
// up, capped at a day; "-0" and "0000" are 0 (off).
constexpr std::uint32_t DefaultStartupCheckSeconds = 10;
constexpr std::uint32_t MaxStartupCheckSeconds = 3600; // the most the tool writes
std::uint32_t startupCheckSeconds(const std::string& text);

// --- Web addresses -------------------------------------------------------------------------
// Where users get Java when the launcher names no other address.
inline constexpr const char* JavaDownloadUrl = "https://www.java.com/download/";
// An http:// or https:// address (scheme in any letter case) with something after the scheme and
// no blank, quote, '<', '>' or control character: nothing else is ever handed to the shell.
bool isWebAddress(const std::string& text);
// The address the cannot-start dialog shows and opens: the setting when it is a web address,
// otherwise JavaDownloadUrl.
std::string downloadAddress(const std::string& setting);

// --- Exit statuses -------------------------------------------------------------------------
// Decimal integers separated by commas, blanks around each allowed, each from -2147483648 to
// 4294967295. A negative one is its 32-bit two's complement, as the process reports it
// (System.exit(-1) ends with 4294967295). Empty text: an empty list.
Result<std::vector<std::uint32_t>> parseExitStatuses(const std::string& text);

// --- File versions -------------------------------------------------------------------------
// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0 to 65535, as four numbers; nothing otherwise.
std::optional<std::vector<unsigned>> parseFileVersion(const std::string& text);
