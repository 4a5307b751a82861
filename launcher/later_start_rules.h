#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a later start hands to the running application, apart from the system's calls.
//
// The channel is a named pipe that each later start creates for one delivery; the application's
// library (told the pipe's name by a system property) keeps trying to open it as a client. The
// name holds a random token that only the marker (the user's own) and the application know.
//
// The message, little-endian throughout:
//   "ARG1"  u32 payload length  payload  u32 CRC-32 of the payload
//   payload: u32 argument count, then for each argument u32 byte length and its UTF-8 bytes
// The library answers one byte: LaterStartAccepted once it has the whole message and will hand
// it to the application, LaterStartRefused when it is malformed or too large.

constexpr std::size_t LaterStartMessageLimit = 64 * 1024; // the whole message, in bytes
constexpr std::size_t LaterStartHeaderBytes = 8;
constexpr std::size_t LaterStartTrailerBytes = 4;
constexpr char LaterStartAccepted = 'A';
constexpr char LaterStartRefused = 'R';
constexpr std::size_t LaterStartTokenLength = 32; // hex digits of 16 random bytes

// The system property that tells the application's library where to listen.
constexpr const char* LaterStartChannelProperty = "windowslauncher.instance.channel";

// The message for these arguments (UTF-8), or nothing when it would exceed the limit.
std::optional<std::string> laterStartMessage(const std::vector<std::string>& arguments);

// The message's length for these arguments, also when it exceeds the limit.
std::size_t laterStartMessageLength(const std::vector<std::string>& arguments);

// CRC-32 (IEEE 802.3, as zip and java.util.zip.CRC32 compute it).
std::uint32_t crc32Of(const std::string& bytes);

// The token as lower-case hex, from its random bytes.
std::string laterStartToken(const unsigned char (&random)[LaterStartTokenLength / 2]);

// The pipe's name for a token; empty for a token that is not LaterStartTokenLength hex digits
// (a marker of another launcher's making, or damaged).
std::string laterStartPipeName(const std::string& token);

// The VM option that tells the application where to listen.
std::string laterStartChannelOption(const std::string& pipeName);
