// What the output decoder holds back of any bytes, read in pieces of any size, in each code page
// it knows the rules of and in a single-byte one.
#include <cstdint>
#include <string>

#include "base/character_tail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (unsigned codePage : {65001u, 932u, 936u, 949u, 950u, 54936u, 1252u}) {
        std::string carried;
        for (std::size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 5 % 257 + 1) {
            carried += bytes.substr(at, piece);
            std::size_t tail = incompleteCharacterTail(codePage, carried.data(), carried.size());
            // Never more than a character's bytes, so nothing piles up whatever the input.
            if (tail > carried.size() || tail > 3) __builtin_trap();
            carried.erase(0, carried.size() - tail);
            // What is held back is held back again as it is.
            if (incompleteCharacterTail(codePage, carried.data(), carried.size()) != carried.size()) __builtin_trap();
        }
    }
    return 0;
}
