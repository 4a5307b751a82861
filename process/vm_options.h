#pragma once

#include <string>

// The VM options text made from the bytes of a .vmoptions file: each line followed by one
// blank, in file order, lines taken verbatim. CR LF and LF read alike, lines have no length
// limit, and a leading UTF-8 byte-order mark is skipped (editors add it; Java would refuse it).
std::string joinVmOptionLines(const std::string& fileBytes);
