#include "launcher/later_start_rules.h"

namespace {

void appendU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

} // namespace

std::size_t laterStartMessageLength(const std::vector<std::string>& arguments) {
    std::size_t length = LaterStartHeaderBytes + 4 + LaterStartTrailerBytes;
    for (const std::string& argument : arguments) length += 4 + argument.size();
    return length;
}

std::optional<std::string> laterStartMessage(const std::vector<std::string>& arguments) {
    if (laterStartMessageLength(arguments) > LaterStartMessageLimit) return std::nullopt;
    std::string payload;
    appendU32(payload, static_cast<std::uint32_t>(arguments.size()));
    for (const std::string& argument : arguments) {
        appendU32(payload, static_cast<std::uint32_t>(argument.size()));
        payload += argument;
    }
    std::string message = "ARG1";
    appendU32(message, static_cast<std::uint32_t>(payload.size()));
    message += payload;
    appendU32(message, crc32Of(payload));
    return message;
}

std::uint32_t crc32Of(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string laterStartToken(const unsigned char (&random)[LaterStartTokenLength / 2]) {
    std::string token;
    for (unsigned char byte : random) {
        token += "0123456789abcdef"[byte >> 4];
        token += "0123456789abcdef"[byte & 0xF];
    }
    return token;
}

std::string laterStartPipeName(const std::string& token) {
    if (token.size() != LaterStartTokenLength) return std::string();
    for (char c : token)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::string();
    return "\\\\.\\pipe\\JavaApplicationLauncher-" + token;
}

std::string laterStartChannelOption(const std::string& pipeName) {
    return std::string("-D") + LaterStartChannelProperty + "=" + pipeName;
}
