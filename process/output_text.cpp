#include "process/output_text.h"

#include <windows.h>

#include "base/text_encoding.h"
#include "base/utf8.h"

std::string AnsiOutputDecoder::decode(const char* data, std::size_t length) {
    carried_.append(data, length);
    std::size_t whole = wholeDoubleByteCharacters(carried_.data(), carried_.size(), isAnsiLeadByte);
    std::string text = utf8FromCodePage(CP_ACP, carried_.data(), whole);
    carried_.erase(0, whole);
    return text;
}

std::string AnsiOutputDecoder::finish() {
    std::string text = utf8FromCodePage(CP_ACP, carried_.data(), carried_.size());
    carried_.clear();
    return text;
}
