#include "gfx/ExifOrientation.h"

#include <array>
#include <cstring>
#include <optional>

namespace zg {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

/// Reads the TIFF structure inside an EXIF segment with its byte order;
/// every read checks its range and gives nothing when it falls outside.
class TiffReader {
public:
    TiffReader(std::span<const uint8_t> tiff, bool bigEndian) : m_tiff(tiff), m_bigEndian(bigEndian) {}

    std::optional<uint16_t> u16(std::size_t at) const {
        if (at > m_tiff.size() || m_tiff.size() - at < 2) {
            return std::nullopt;
        }
        const uint8_t a = m_tiff[at], b = m_tiff[at + 1];
        return uint16_t(m_bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    std::optional<uint32_t> u32(std::size_t at) const {
        const std::optional<uint16_t> first = u16(at), second = u16(at + 2);
        if (!first || !second) {
            return std::nullopt;
        }
        return m_bigEndian ? (uint32_t(*first) << 16) | *second : (uint32_t(*second) << 16) | *first;
    }

private:
    std::span<const uint8_t> m_tiff;
    bool m_bigEndian;
};

/// The orientation stored in the first image directory of an EXIF segment's
/// payload (after "Exif\0\0"), or nothing.
std::optional<int> orientationInTiff(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) {
        return std::nullopt;
    }
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (tiff[0] != 'I' || tiff[1] != 'I') {
        return std::nullopt;
    }
    const TiffReader read(tiff, bigEndian);
    const std::optional<uint32_t> directory = read.u32(4);
    if (read.u16(2) != uint16_t(42) || !directory) {
        return std::nullopt;
    }
    const std::optional<uint16_t> count = read.u16(*directory);
    if (!count) {
        return std::nullopt;
    }
    for (uint32_t i = 0; i < *count; ++i) {
        const std::size_t entry = std::size_t(*directory) + 2 + std::size_t(i) * 12;
        const std::optional<uint16_t> tag = read.u16(entry);
        if (!tag) {
            return std::nullopt;
        }
        if (*tag == kOrientationTag) {
            if (read.u16(entry + 2) != kTypeShort || read.u32(entry + 4) != 1u) {
                return std::nullopt;
            }
            const std::optional<uint16_t> value = read.u16(entry + 8);
            if (!value || *value < 1 || *value > 8) {
                return std::nullopt;
            }
            return int(*value);
        }
    }
    return std::nullopt;
}

} // namespace

int exifOrientation(std::span<const uint8_t> jpeg) {
    static constexpr std::array<uint8_t, 6> kExif = {'E', 'x', 'i', 'f', 0, 0};
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
        return 1;
    }
    std::size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) {
            return 1;
        }
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) { // picture data or end: no more header segments
            return 1;
        }
        const std::size_t length = (std::size_t(jpeg[at + 2]) << 8) | jpeg[at + 3];
        if (length < 2 || length > jpeg.size() - at - 2) {
            return 1;
        }
        const std::span<const uint8_t> payload = jpeg.subspan(at + 4, length - 2);
        if (marker == 0xE1 && payload.size() >= kExif.size() &&
            std::memcmp(payload.data(), kExif.data(), kExif.size()) == 0) {
            return orientationInTiff(payload.subspan(kExif.size())).value_or(1);
        }
        at += 2 + length;
    }
    return 1;
}

std::string uprightingText(int orientation) {
    switch (orientation) {
    case 2:
        return "mirrored left to right";
    case 3:
        return "turned 180 degrees";
    case 4:
        return "mirrored top to bottom";
    case 5:
        return "mirrored left to right and turned 90 degrees counter-clockwise";
    case 6:
        return "turned 90 degrees clockwise";
    case 7:
        return "mirrored left to right and turned 90 degrees clockwise";
    case 8:
        return "turned 90 degrees counter-clockwise";
    default:
        return "left as it was";
    }
}

Bitmap24 turnUpright(const Bitmap24& stored, int orientation) {
    if (orientation < 2 || orientation > 8) {
        return stored;
    }
    // Each orientation as the three steps that undo it, taken in this order
    // for the upright pixel (x, y): swap x and y (a quarter turn with a
    // mirror), then mirror the stored column, then mirror the stored row.
    struct Steps {
        bool swap, mirrorColumn, mirrorRow;
    };
    static constexpr std::array<Steps, 9> kSteps = {{{false, false, false},
                                                     {false, false, false},
                                                     {false, true, false},
                                                     {false, true, true},
                                                     {false, false, true},
                                                     {true, false, false},
                                                     {true, false, true},
                                                     {true, true, true},
                                                     {true, true, false}}};
    const Steps steps = kSteps[std::size_t(orientation)];
    const int32_t w = stored.width(), h = stored.height();
    Bitmap24 upright(steps.swap ? h : w, steps.swap ? w : h);
    for (int32_t y = 0; y < upright.height(); ++y) {
        uint8_t* out = upright.row(y);
        for (int32_t x = 0; x < upright.width(); ++x, out += 3) {
            int32_t sx = steps.swap ? y : x;
            int32_t sy = steps.swap ? x : y;
            sx = steps.mirrorColumn ? w - 1 - sx : sx;
            sy = steps.mirrorRow ? h - 1 - sy : sy;
            std::memcpy(out, stored.row(sy) + std::size_t(sx) * 3, 3);
        }
    }
    return upright;
}

} // namespace zg
