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

std::optional<std::string> readVmOptionsFile(const std::string& executablePath) {
    std::string path = executablePath + ".vmoptions";
    traceLog().append("VM options").append(path).endLine();
    std::optional<std::string> bytes = readWholeFile(path, VmOptionsFileLimit);
    if (!bytes) return std::nullopt;
    VmOptionsEncoding encoding = vmOptionsEncoding(*bytes);
    switch (encoding) {
    case VmOptionsEncoding::AnsiCodePage:
        return joinVmOptionLines(utf8FromCodePage(CP_ACP, bytes->data(), bytes->size()));
    case VmOptionsEncoding::Utf16LittleEndian:
    case VmOptionsEncoding::Utf16BigEndian:
        return joinVmOptionLines(utf8FromUtf16File(*bytes, encoding));
    case VmOptionsEncoding::Utf8:
        break;
    }
    return joinVmOptionLines(*bytes);
}
