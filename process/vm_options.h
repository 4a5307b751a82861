#pragma once

#include <string>

// How the bytes of a .vmoptions file are read: a UTF-16 byte-order mark (little- or big-endian,
// as Notepad's "Unicode" saves) means UTF-16; a UTF-8 mark means UTF-8; without a mark, bytes
// that are valid UTF-8 are UTF-8 (what every current editor saves); anything else is in the ANSI
// code page, as older editors saved it.
enum class VmOptionsEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, AnsiCodePage };
VmOptionsEncoding vmOptionsEncoding(const std::string& fileBytes);

// The text of a UTF-16 file (its byte-order mark skipped) as UTF-8; a last odd byte is dropped.
std::string utf8FromUtf16File(const std::string& fileBytes, VmOptionsEncoding encoding);

// The VM options text made from a .vmoptions file's text (UTF-8, its byte-order mark skipped):
// each line followed by one blank, in file order, lines taken verbatim. Blank lines and lines
// whose first non-blank character is '#' are skipped: neither can be a Java option (Java would
// take '#' for the main class). Lines end in LF, CR LF or CR alone; they have no length limit.
std::string joinVmOptionLines(const std::string& text);
