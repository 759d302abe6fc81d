#pragma once

#include <cstdint>

namespace zg {

/// Colours are 0x00BBGGRR for direct colours; 0x80000000 + n names system colour n.
using Color = uint32_t;

constexpr Color kSystemColorFlag = 0x80000000u;

constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) {
    return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
constexpr uint8_t redOf(Color c) {
    return uint8_t(c & 0xFF);
}
constexpr uint8_t greenOf(Color c) {
    return uint8_t((c >> 8) & 0xFF);
}
constexpr uint8_t blueOf(Color c) {
    return uint8_t((c >> 16) & 0xFF);
}
constexpr bool isSystemColor(Color c) {
    return (c & kSystemColorFlag) != 0;
}

} // namespace zg
