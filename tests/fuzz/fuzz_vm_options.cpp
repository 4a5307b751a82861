// VM options files and the text conversions they go through.
#include <cstdint>
#include <string>

#include "base/utf8.h"
#include "process/vm_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (vmOptionsEncoding(bytes) == VmOptionsEncoding::Utf8) {
        std::string options = joinVmOptionLines(bytes);
        if (options.find('\n') != std::string::npos) __builtin_trap();
    }
    std::string converted = utf8FromUtf16(utf16FromUtf8(bytes));
    if (!isValidUtf8(converted) || (isValidUtf8(bytes) && converted != bytes)) __builtin_trap();
    for (const char* at = bytes.c_str(); *at; at = nextUtf8Char(at)) {
    }
    return 0;
}
