#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The splash resource as a complete picture file for the picture decoder. A bitmap stored in
// the plain resource form (an information header with no file header) gets the file header it
// lacks; picture files (BMP, GIF, JPEG, ...) and unknown bytes pass unchanged, and the decoder
// decides about them.
std::vector<std::uint8_t> pictureFileBytes(const std::uint8_t* data, std::size_t size);
