// A plain backdrop file for the dialog tests: a 1-bit bottom-up BMP of one grey.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace gui {

inline void WriteGreyBackdrop(const std::string& path, int width, int height) {
    const int rowSize = (width + 31) / 32 * 4;
    const uint32_t offset = 54 + 8;  // headers and a colour table of two entries
    const uint32_t dataSize = static_cast<uint32_t>(rowSize) * height;
    std::string bytes(offset + dataSize, '\0');
    auto put = [&bytes](size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, offset + dataSize, 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, 1, 2);
    put(54, 0x808080, 4);
    put(58, 0xFFFFFF, 4);
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace gui
