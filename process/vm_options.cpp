#include "process/vm_options.h"

#include "base/utf8.h"

namespace {

const std::string ByteOrderMark = "\xEF\xBB\xBF";

bool startsWithMark(const std::string& text) { return text.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0; }

} // namespace

VmOptionsEncoding vmOptionsEncoding(const std::string& fileBytes) {
    return startsWithMark(fileBytes) || isValidUtf8(fileBytes) ? VmOptionsEncoding::Utf8
                                                                : VmOptionsEncoding::AnsiCodePage;
}

std::string joinVmOptionLines(const std::string& text) {
    std::string::size_type at = startsWithMark(text) ? ByteOrderMark.size() : 0;
    std::string result;
    while (at < text.size()) {
        std::string::size_type end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string::size_type first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#') result += line + ' ';
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return result;
}
