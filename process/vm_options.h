#pragma once

#include <string>

// How the bytes of a .vmoptions file are read: a UTF-8 byte-order mark means UTF-8; without one,
// bytes that are valid UTF-8 are UTF-8 (what every current editor saves); anything else is in
// the ANSI code page, as older editors saved it.
enum class VmOptionsEncoding { Utf8, AnsiCodePage };
VmOptionsEncoding vmOptionsEncoding(const std::string& fileBytes);

// The VM options text made from a .vmoptions file's text (UTF-8, its byte-order mark skipped):
// each line followed by one blank, in file order, lines taken verbatim. Blank lines and lines
// whose first non-blank character is '#' are skipped: neither can be a Java option (Java would
// take '#' for the main class). CR LF and LF read alike; lines have no length limit.
std::string joinVmOptionLines(const std::string& text);
