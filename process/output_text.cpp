#include "process/output_text.h"

#include <windows.h>

#include "base/character_tail.h"
#include "base/text_encoding.h"

AnsiOutputDecoder::AnsiOutputDecoder() : codePage_(GetACP()) {}

std::string AnsiOutputDecoder::decode(const char* data, std::size_t length) {
    carried_.append(data, length);
    std::size_t whole = carried_.size() - incompleteCharacterTail(codePage_, carried_.data(), carried_.size());
    std::string text = utf8FromCodePage(codePage_, carried_.data(), whole);
    carried_.erase(0, whole);
    return text;
}

std::string AnsiOutputDecoder::finish() {
    std::string text = utf8FromCodePage(codePage_, carried_.data(), carried_.size());
    carried_.clear();
    return text;
}
