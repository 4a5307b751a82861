#include "process/vm_options.h"

#include "base/utf8.h"

namespace {

const std::string ByteOrderMark = "\xEF\xBB\xBF";

bool startsWithMark(const std::string& text) { return text.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0; }

bool startsWith(const std::string& text, const char* mark) { return text.compare(0, 2, mark) == 0; }

bool hasUtf16Mark(const std::string& bytes) { return startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"); }

// A file without a mark whose NUL bytes say UTF-16. Options files begin with an ASCII character
// (an option, '#', '[', a blank or a line end): its unit, one NUL byte and one other, tells the
// byte order. Text in the ANSI code page or UTF-8 with a stray NUL fails that test; a file of
// odd length or with a NUL character (two NUL bytes in one unit) is no UTF-16 either.
VmOptionsEncoding unmarkedUtf16(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return VmOptionsEncoding::Unreadable;
    auto ascii = [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; };
    VmOptionsEncoding encoding = VmOptionsEncoding::Unreadable;
    if (ascii(bytes[0]) && bytes[1] == '\0') encoding = VmOptionsEncoding::Utf16LittleEndian;
    if (bytes[0] == '\0' && ascii(bytes[1])) encoding = VmOptionsEncoding::Utf16BigEndian;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2)
        if (bytes[at] == '\0' && bytes[at + 1] == '\0') return VmOptionsEncoding::Unreadable;
    return encoding;
}

} // namespace

VmOptionsEncoding vmOptionsEncoding(const std::string& fileBytes) {
    VmOptionsEncoding encoding = VmOptionsEncoding::Utf8;
    if (startsWith(fileBytes, "\xFF\xFE"))
        encoding = VmOptionsEncoding::Utf16LittleEndian;
    else if (startsWith(fileBytes, "\xFE\xFF"))
        encoding = VmOptionsEncoding::Utf16BigEndian;
    else if (fileBytes.find('\0') != std::string::npos)
        return unmarkedUtf16(fileBytes);
    else if (!startsWithMark(fileBytes) && !isValidUtf8(fileBytes))
        encoding = VmOptionsEncoding::AnsiCodePage;
    if (encoding == VmOptionsEncoding::Utf16LittleEndian || encoding == VmOptionsEncoding::Utf16BigEndian) {
        // A NUL character in a marked file: no options file holds one.
        if (utf8FromUtf16File(fileBytes, encoding).find('\0') != std::string::npos) return VmOptionsEncoding::Unreadable;
    }
    return encoding;
}

std::string utf8FromUtf16File(const std::string& fileBytes, VmOptionsEncoding encoding) {
    bool bigEndian = encoding == VmOptionsEncoding::Utf16BigEndian;
    std::u16string units;
    units.reserve(fileBytes.size() / 2);
    for (std::size_t at = hasUtf16Mark(fileBytes) ? 2 : 0; at + 1 < fileBytes.size(); at += 2) {
        auto high = static_cast<unsigned char>(fileBytes[bigEndian ? at : at + 1]);
        auto low = static_cast<unsigned char>(fileBytes[bigEndian ? at + 1 : at]);
        units.push_back(static_cast<char16_t>(high << 8 | low));
    }
    return utf8FromUtf16(units);
}

VmOptionPieces vmOptionPiecesOfLines(const std::string& text) {
    std::string::size_type at = startsWithMark(text) ? ByteOrderMark.size() : 0;
    VmOptionPieces pieces;
    while (at < text.size()) {
        std::string::size_type end = text.find_first_of("\r\n", at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        std::string::size_type first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#') {
            VmOptionPiece piece{std::nullopt, false, line + ' ', line + ' '};
            RangePrefix prefix = readRangePrefix(std::string_view(line).substr(first));
            std::string::size_type options = line.find_first_not_of(" \t", first + prefix.length);
            // A range with nothing after it is as useless as a malformed one.
            piece.malformedRange = prefix.kind == RangePrefix::Kind::Malformed ||
                                   (prefix.kind == RangePrefix::Kind::Range && options == std::string::npos);
            if (prefix.kind == RangePrefix::Kind::Range && !piece.malformedRange) {
                piece.range = prefix.range;
                piece.text = line.substr(options) + ' ';
            }
            pieces.push_back(std::move(piece));
        }
        if (end == std::string::npos) break;
        at = end + 1;
        if (text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
    }
    return pieces;
}

std::string joinVmOptionLines(const std::string& text) { return writtenText(vmOptionPiecesOfLines(text)); }

VmOptionPieces vmOptionPiecesOfSetting(const std::string& text) {
    VmOptionPieces pieces;
    std::size_t plainFrom = 0;
    auto addPlain = [&](std::size_t until) {
        if (until > plainFrom) pieces.push_back({std::nullopt, false, text.substr(plainFrom, until - plainFrom),
                                                 text.substr(plainFrom, until - plainFrom)});
    };
    forEachOption(text, [&](std::size_t start, std::size_t end) {
        RangePrefix prefix = readRangePrefix(std::string_view(text).substr(start, end - start));
        if (prefix.kind == RangePrefix::Kind::None) return;
        addPlain(start);
        // The option takes the blanks after it along, so leaving it out leaves no gap.
        std::size_t next = text.find_first_not_of(" \t", end);
        if (next == std::string::npos) next = text.size();
        VmOptionPiece piece{std::nullopt, true, std::string(), text.substr(start, next - start)};
        if (prefix.kind == RangePrefix::Kind::Range && start + prefix.length < end) {
            piece.range = prefix.range;
            piece.malformedRange = false;
            piece.text = text.substr(start + prefix.length, next - start - prefix.length);
        }
        pieces.push_back(std::move(piece));
        plainFrom = next;
    });
    addPlain(text.size());
    return pieces;
}

std::string writtenText(const VmOptionPieces& pieces) {
    std::string text;
    for (const VmOptionPiece& piece : pieces) text += piece.written;
    return text;
}

namespace {

std::string withoutTrailingBlanks(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}

} // namespace

ChosenVmOptions chooseVmOptions(const VmOptionPieces& pieces, std::optional<int> featureVersion) {
    ChosenVmOptions chosen;
    for (const VmOptionPiece& piece : pieces) {
        std::string written = withoutTrailingBlanks(piece.written);
        std::string::size_type first = written.find_first_not_of(" \t");
        written = first == std::string::npos ? written : written.substr(first);
        if (piece.malformedRange) {
            chosen.trace.push_back("VM option with a malformed version range, left out: " + written);
            continue;
        }
        if (!piece.range) {
            chosen.text += piece.text;
            continue;
        }
        bool given = featureVersion && piece.range->admits(*featureVersion);
        if (given) chosen.text += piece.text;
        std::string version = featureVersion ? "Java " + std::to_string(*featureVersion) : "a Java of unknown version";
        chosen.trace.push_back(std::string(given ? "VM option for " : "VM option not for ") + version + ": " + written);
    }
    return chosen;
}
