#include "configure/resources/resource_data.h"

#include <map>

#include "base/little_endian.h"
#include "base/utf8.h"

using namespace little_endian;

std::vector<std::u16string> stringBlockTexts(const Bytes& block) {
    std::vector<std::u16string> texts(16);
    std::size_t at = 0;
    for (std::u16string& text : texts) {
        if (at + 2 > block.size()) break;
        std::size_t length = word(&block[at]);
        at += 2;
        for (std::size_t i = 0; i < length && at + 2 <= block.size(); ++i, at += 2)
            text.push_back(static_cast<char16_t>(word(&block[at])));
    }
    return texts;
}

Bytes stringBlockBytes(const std::vector<std::u16string>& texts) {
    Bytes block;
    for (const std::u16string& text : texts) {
        putWord(block, static_cast<std::uint16_t>(text.size()));
        for (char16_t unit : text) putWord(block, static_cast<std::uint16_t>(unit));
    }
    return block;
}

std::vector<Resource> stringTableResources(const LauncherConfiguration& configuration) {
    std::map<unsigned, std::vector<std::u16string>> blocks;
    for (const auto& [id, text] : configuration.strings) {
        if (text.empty()) continue;
        std::vector<std::u16string>& block = blocks[id / 16 + 1];
        block.resize(16);
        block[id % 16] = utf16FromUtf8(text);
    }
    std::vector<Resource> resources;
    for (const auto& [block, texts] : blocks)
        resources.push_back(Resource{ResourceTypeString, static_cast<std::uint16_t>(block), 0, stringBlockBytes(texts)});
    return resources;
}

Bytes defaultSplashBitmap() {
    constexpr int Size = 48;
    Bytes out;
    putDword(out, 40);           // header size
    putDword(out, Size);         // width
    putDword(out, Size);         // height, rows stored bottom-up
    putWord(out, 1);             // planes
    putWord(out, 4);             // bits per pixel
    putDword(out, 0);            // no compression
    putDword(out, Size * Size / 2);
    putDword(out, 0);
    putDword(out, 0);
    putDword(out, 16);           // colours used
    putDword(out, 0);
    static const std::uint32_t palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (std::uint32_t rgb : palette) putDword(out, rgb); // RGBQUAD: blue, green, red, 0
    // A cup of coffee with steam on a white card with a grey frame.
    auto colourAt = [](int x, int y) -> std::uint8_t { // y counted from the top
        if (x == 0 || y == 0 || x == Size - 1 || y == Size - 1) return 8;
        bool body = x >= 12 && x <= 31 && y >= 20 && y <= 38;
        bool coffee = body && y <= 22;
        bool handle = (x >= 32 && x <= 37 && (y == 24 || y == 33)) || (x == 37 && y >= 24 && y <= 33);
        bool saucer = y >= 39 && y <= 41 && x >= 8 && x <= 35;
        bool steam = (y >= 8 && y <= 17) && ((x == 16 + (y % 4 < 2 ? 0 : 1)) || (x == 22 + (y % 4 < 2 ? 1 : 0)) ||
                                             (x == 28 + (y % 4 < 2 ? 0 : 1)));
        if (coffee) return 1;
        if (body || handle) return 4;
        if (saucer) return 12;
        if (steam) return 7;
        return 15;
    };
    for (int row = Size - 1; row >= 0; --row)
        for (int x = 0; x < Size; x += 2)
            out.push_back(static_cast<std::uint8_t>((colourAt(x, row) << 4) | colourAt(x + 1, row)));
    return out;
}
