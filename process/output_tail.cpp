#include "process/output_tail.h"

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The suffix of `text` of at most `limit` bytes that starts on a whole character.
std::size_t suffixStart(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return 0;
    std::size_t at = text.size() - limit;
    while (at < text.size() && isContinuationByte(text[at])) ++at;
    return at;
}

} // namespace

void OutputTail::append(const std::string& text) {
    kept_ += text;
    // Trimmed in batches, so that a long output costs no more than a copy per MaxBytes.
    if (kept_.size() > 2 * MaxBytes) kept_.erase(0, suffixStart(kept_, MaxBytes));
}

std::string OutputTail::text() const {
    std::size_t from = suffixStart(kept_, MaxBytes);
    // A line break that ends the output does not begin another line.
    std::size_t end = kept_.size();
    if (end > from && kept_[end - 1] == '\n') --end;
    std::size_t lines = 0;
    for (std::size_t at = end; at > from; --at) {
        if (kept_[at - 1] == '\n' && ++lines == MaxLines) {
            from = at;
            break;
        }
    }
    return kept_.substr(from);
}
