#pragma once

#include <cstddef>

// How many bytes at the end of `data` begin a character of `codePage` that the next piece of
// the same text completes, so that they are held back rather than decoded as broken. `data`
// begins at a character boundary. Knows UTF-8 (65001), the double-byte pages 932, 936, 949 and
// 950, and GB18030 (54936) with its four-byte sequences; every other page holds nothing back.
std::size_t incompleteCharacterTail(unsigned codePage, const char* data, std::size_t length);
