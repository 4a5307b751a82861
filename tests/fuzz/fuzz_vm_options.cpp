// VM options files and settings: their encodings, version ranges, the choice by version, the
// heap share and the text conversions they go through.
#include <cstdint>
#include <string>

#include "base/utf8.h"
#include "base/version_range.h"
#include "process/vm_options.h"
#include "settings_contract/heap_share.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void checkPieces(const VmOptionPieces& pieces, const std::string& written) {
    check(writtenText(pieces) == written);
    for (int version : {1, 8, 17, 25, 9999}) {
        ChosenVmOptions chosen = chooseVmOptions(pieces, version);
        // What a runtime gets is never longer than what was written.
        check(chosen.text.size() <= written.size());
    }
    ChosenVmOptions unknown = chooseVmOptions(pieces, std::nullopt);
    std::string all;
    for (const VmOptionPiece& piece : pieces)
        if (!piece.range && !piece.malformedRange) all += piece.text;
    check(unknown.text == all);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    VmOptionsEncoding encoding = vmOptionsEncoding(bytes);
    if (encoding == VmOptionsEncoding::Utf8) {
        std::string options = joinVmOptionLines(bytes);
        if (options.find('\n') != std::string::npos) __builtin_trap();
    }
    if (encoding == VmOptionsEncoding::Utf16LittleEndian || encoding == VmOptionsEncoding::Utf16BigEndian) {
        // The NULs of UTF-16 never reach the options.
        std::string text = utf8FromUtf16File(bytes, encoding);
        check(text.find('\0') == std::string::npos && isValidUtf8(text));
        checkPieces(vmOptionPiecesOfLines(text), joinVmOptionLines(text));
    }
    if (encoding == VmOptionsEncoding::Utf8) check(bytes.find('\0') == std::string::npos);
    checkPieces(vmOptionPiecesOfLines(bytes), joinVmOptionLines(bytes));
    checkPieces(vmOptionPiecesOfSetting(bytes), bytes);
    RangePrefix prefix = readRangePrefix(bytes);
    if (prefix.kind == RangePrefix::Kind::Range) {
        check(prefix.range.lowest >= 1 && prefix.range.lowest <= prefix.range.highest);
        RangePrefix again = readRangePrefix(rangeText(prefix.range));
        check(again.kind == RangePrefix::Kind::Range && again.range == prefix.range);
    }
    (void)vmOptionsProblem(bytes);
    if (std::optional<HeapShare> share = parseHeapShare(bytes)) {
        check(share->percent >= 1 && share->percent <= 100);
        HeapFigure figure = maximumHeapFigure(*share, UINT64_MAX, true);
        check(figure.megabytes <= Runtime32BitHeapLimitMegabytes);
    }
    (void)maximumHeapOption(bytes);
    std::string converted = utf8FromUtf16(utf16FromUtf8(bytes));
    if (!isValidUtf8(converted) || (isValidUtf8(bytes) && converted != bytes)) __builtin_trap();
    for (const char* at = bytes.c_str(); *at; at = nextUtf8Char(at)) {
    }
    return 0;
}
