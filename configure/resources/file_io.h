#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/result.h"
#include "configure/resources/resource_data.h"

// Paths are UTF-8 text, on Windows as everywhere; a backslash separates folders on Linux too,
// as Windows users write their settings files.
std::filesystem::path pathOf(const std::string& utf8);

// One kind of input file: how the messages name it and the most the tool reads of it.
struct InputFile {
    const char* what;      // "the splash picture"
    std::uintmax_t limit;  // in bytes
    const char* limitText; // "16 MiB"
};

// A regular file's bytes, read through its limit: a FIFO, device or folder is refused before
// anything is read, and so is a file above the limit, also one that grows while it is read.
// The reason ("PATH: the splash picture is larger than 16 MiB", "PATH: cannot read the icon file
// (No such file or directory)") when it is refused.
Result<Bytes> readInputFile(const std::string& path, const InputFile& kind);

// Writes the file, in place of one that has that name. The reason ("cannot write PATH (No space
// left on device)") when it cannot be created or written.
Result<void> writeFileBytes(const std::string& path, const Bytes& bytes);

// Writes a file that did not exist before, created exclusively (never through a link or over
// another file). When that name is taken or the bytes cannot be written, the system's code and
// reason, and no file is left behind.
Result<void> writeNewFile(const std::string& path, const Bytes& bytes);

// Whether writeNewFile failed only because something already has that name.
bool nameTaken(const Failure& failure);

// An existing file its owner may not write to (mode without u+w, or the read-only attribute).
bool isReadOnly(const std::string& path);
