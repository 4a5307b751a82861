#include "process/vm_options.h"

#include "base/utf8.h"

namespace {

const std::string ByteOrderMark = "\xEF\xBB\xBF";

bool startsWithMark(const std::string& text) { return text.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0; }

bool startsWith(const std::string& text, const char* mark) { return text.compare(0, 2, mark) == 0; }

} // namespace

VmOptionsEncoding vmOptionsEncoding(const std::string& fileBytes) {
    if (startsWith(fileBytes, "\xFF\xFE")) return VmOptionsEncoding::Utf16LittleEndian;
    if (startsWith(fileBytes, "\xFE\xFF")) return VmOptionsEncoding::Utf16BigEndian;
    return startsWithMark(fileBytes) || isValidUtf8(fileBytes) ? VmOptionsEncoding::Utf8
                                                                : VmOptionsEncoding::AnsiCodePage;
}

std::string utf8FromUtf16File(const std::string& fileBytes, VmOptionsEncoding encoding) {
    bool bigEndian = encoding == VmOptionsEncoding::Utf16BigEndian;
    std::u16string units;
    units.reserve(fileBytes.size() / 2);
    for (std::size_t at = 2; at + 1 < fileBytes.size(); at += 2) {
        auto high = static_cast<unsigned char>(fileBytes[bigEndian ? at : at + 1]);
        auto low = static_cast<unsigned char>(fileBytes[bigEndian ? at + 1 : at]);
        units.push_back(static_cast<char16_t>(high << 8 | low));
    }
    return utf8FromUtf16(units);
}

std::string joinVmOptionLines(const std::string& text) {
    std::string::size_type at = startsWithMark(text) ? ByteOrderMark.size() : 0;
    std::string result;
    while (at < text.size()) {
        std::string::size_type end = text.find_first_of("\r\n", at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        std::string::size_type first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#') result += line + ' ';
        if (end == std::string::npos) break;
        at = end + 1;
        if (text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
    }
    return result;
}
