#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/version_range.h"

// How the bytes of a .vmoptions file are read: a UTF-16 byte-order mark (little- or big-endian,
// as Notepad's "Unicode" saves) means UTF-16; a UTF-8 mark means UTF-8. Without a mark, NUL bytes
// mean UTF-16 as tools and scripts write it without a mark, its byte order told by the file's first
// character, which must be ASCII. Otherwise bytes that are valid UTF-8 are UTF-8 (what every current editor
// saves); anything else is in the ANSI code page, as older editors saved it. No options text
// holds a NUL character, so a file that would give one is Unreadable.
enum class VmOptionsEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, AnsiCodePage, Unreadable };
VmOptionsEncoding vmOptionsEncoding(const std::string& fileBytes);

// The text of a UTF-16 file (its byte-order mark, if any, skipped) as UTF-8; a last odd byte is
// dropped.
std::string utf8FromUtf16File(const std::string& fileBytes, VmOptionsEncoding encoding);

// The VM options text made from a .vmoptions file's text (UTF-8, its byte-order mark skipped):
// each line followed by one blank, in file order, lines taken verbatim. Blank lines and lines
// whose first non-blank character is '#' are skipped: neither can be a Java option (Java would
// take '#' for the main class). Lines end in LF, CR LF or CR alone; they have no length limit.
std::string joinVmOptionLines(const std::string& text);

// One part of the VM options: a line of an options file, or one option of the vm_options setting
// with the text around it. `range` is the Java versions it is given to (nothing: every one).
struct VmOptionPiece {
    std::optional<VersionRange> range;
    bool malformedRange = false; // begins with a '[' that is no range: never given
    std::string text;            // as it goes on the command line, its blank after it included
    std::string written;         // as it was written, its range included, for the trace
};
using VmOptionPieces = std::vector<VmOptionPiece>;

// The lines of an options file (UTF-8, as joinVmOptionLines takes them), each a piece of its own
// followed by a blank. A line may begin with a version range ("[24+] --enable-native-access=...")
// that holds for the whole line; blanks between the range and the line's options are dropped.
VmOptionPieces vmOptionPiecesOfLines(const std::string& text);

// The vm_options setting: a version range right before an option ("[24+]--enable-native-access=...")
// holds for that option alone. The text between those options stays as it was written.
VmOptionPieces vmOptionPiecesOfSetting(const std::string& text);

// The pieces as they were written, ranges included.
std::string writtenText(const VmOptionPieces& pieces);

// The options a runtime of `featureVersion` gets (nothing: a runtime whose version is unknown gets
// none of the pieces with a range), and a trace line for each piece with a range: given or not.
struct ChosenVmOptions {
    std::string text;
    std::vector<std::string> trace;
};
ChosenVmOptions chooseVmOptions(const VmOptionPieces& pieces, std::optional<int> featureVersion);
