#include "process/vm_options_file.h"

#include <windows.h>

#include "base/file_system.h"
#include "base/text_encoding.h"
#include "process/vm_options.h"
#include "trace/trace_log.h"

namespace {

// Far beyond any command line Java accepts; a larger file is no options file.
constexpr std::size_t VmOptionsFileLimit = 16 * 1024 * 1024;

} // namespace

std::optional<std::string> readOptionsFileText(const std::string& path) {
    if (!fileExists(path)) return std::nullopt;
    std::optional<std::string> bytes = readWholeFile(path, VmOptionsFileLimit);
    if (!bytes) {
        traceLog().trace("VM options file not read (not readable, or larger than 16 MB): " + path);
        return std::nullopt;
    }
    VmOptionsEncoding encoding = vmOptionsEncoding(*bytes);
    switch (encoding) {
    case VmOptionsEncoding::Unreadable:
        traceLog().trace("VM options file not used, its text is in no encoding an options file has: " + path);
        return std::nullopt;
    case VmOptionsEncoding::AnsiCodePage:
        return utf8FromCodePage(CP_ACP, bytes->data(), bytes->size());
    case VmOptionsEncoding::Utf16LittleEndian:
    case VmOptionsEncoding::Utf16BigEndian:
        return utf8FromUtf16File(*bytes, encoding);
    case VmOptionsEncoding::Utf8:
        break;
    }
    return bytes;
}

std::optional<std::string> readVmOptionsFile(const std::string& executablePath) {
    std::string path = executablePath + ".vmoptions";
    traceLog().append("VM options").append(path).endLine();
    return readOptionsFileText(path);
}
