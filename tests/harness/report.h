#pragma once

#include <cstdio>
#include <string>

// One report line on stdout: a kind, then tab-separated fields, each escaped so that the
// test side reads back exactly the bytes the launcher produced.
inline std::string escapeField(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    return out;
}

inline void report(const std::string& kind, const std::string& fields = std::string()) {
    std::string line = kind + (fields.empty() ? "" : "\t" + fields) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}
