#include "support/JpegMaker.h"

#include "gfx/JpegCompress.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace zg::test {

namespace {

void put16(std::vector<uint8_t>& out, uint16_t v, bool bigEndian) {
    if (bigEndian) {
        out.insert(out.end(), {uint8_t(v >> 8), uint8_t(v)});
    } else {
        out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
    }
}

void put32(std::vector<uint8_t>& out, uint32_t v, bool bigEndian) {
    put16(out, uint16_t(bigEndian ? v >> 16 : v), bigEndian);
    put16(out, uint16_t(bigEndian ? v : v >> 16), bigEndian);
}

} // namespace

Bitmap24 quarteredPicture(int32_t width, int32_t height) {
    Bitmap24 picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const int ramp = 40 * (x + y) / (width + height); // 0..40
            const bool right = x >= width / 2, bottom = y >= height / 2;
            Color c = 0;
            if (!right && !bottom) {
                c = rgb(uint8_t(200 + ramp), uint8_t(40 + ramp), uint8_t(30 + ramp));
            } else if (right && !bottom) {
                c = rgb(uint8_t(40 + ramp), uint8_t(170 + ramp), uint8_t(60 + ramp));
            } else if (!right) {
                c = rgb(uint8_t(30 + ramp), uint8_t(60 + ramp), uint8_t(190 + ramp));
            } else {
                c = rgb(uint8_t(170 + ramp), uint8_t(160 + ramp), uint8_t(90 + ramp));
            }
            picture.setPixel(x, y, c);
        }
    }
    return picture;
}

std::vector<uint8_t> encodeInkJpeg(const Bitmap24& picture, InkForm form) {
    const int32_t width = picture.width(), height = picture.height();
    std::vector<uint8_t> inks(std::size_t(width) * std::size_t(height) * 4);
    const bool inverted = form != InkForm::PlainCmyk;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const Color c = picture.pixel(x, y);
            const int channels[3] = {redOf(c), greenOf(c), blueOf(c)};
            const int brightest = std::max({channels[0], channels[1], channels[2], 1});
            uint8_t* out = inks.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
            // Black ink takes what all three channels lack; the colour inks the rest.
            for (int i = 0; i < 3; ++i) {
                const int ink = 255 - (channels[i] * 255 + brightest / 2) / brightest;
                out[i] = uint8_t(inverted ? 255 - ink : ink);
            }
            const int black = 255 - brightest;
            out[3] = uint8_t(inverted ? 255 - black : black);
        }
    }
    return jpeg::compress(
        width, height, 4, JCS_CMYK,
        [form](jpeg_compress_struct& cinfo) {
            jpeg_set_colorspace(&cinfo, form == InkForm::AdobeYcck ? JCS_YCCK : JCS_CMYK);
            cinfo.write_Adobe_marker = form != InkForm::PlainCmyk;
            jpeg_set_quality(&cinfo, 95, TRUE);
            // Full-resolution colour, so that only the colour conversion can move a block's mean.
            for (int c = 0; c < cinfo.num_components; ++c) {
                cinfo.comp_info[c].h_samp_factor = 1;
                cinfo.comp_info[c].v_samp_factor = 1;
            }
        },
        [&inks, width](int32_t y) { return inks.data() + std::size_t(y) * std::size_t(width) * 4; });
}

std::vector<uint8_t> withExifOrientation(std::vector<uint8_t> jpeg, uint16_t orientation, bool bigEndian) {
    std::vector<uint8_t> tiff = {uint8_t(bigEndian ? 'M' : 'I'), uint8_t(bigEndian ? 'M' : 'I')};
    put16(tiff, 42, bigEndian);
    put32(tiff, 8, bigEndian); // first image directory right after the header
    put16(tiff, 2, bigEndian); // two entries
    const uint32_t makeText = 8 + 2 + 2 * 12 + 4;
    put16(tiff, 0x010F, bigEndian); // camera make: ASCII, 6 bytes, stored after the directory
    put16(tiff, 2, bigEndian);
    put32(tiff, 6, bigEndian);
    put32(tiff, makeText, bigEndian);
    put16(tiff, 0x0112, bigEndian); // orientation: one SHORT, held in the entry itself
    put16(tiff, 3, bigEndian);
    put32(tiff, 1, bigEndian);
    put16(tiff, orientation, bigEndian);
    put16(tiff, 0, bigEndian);
    put32(tiff, 0, bigEndian); // no further directory
    tiff.insert(tiff.end(), {'P', 'h', 'o', 'n', 'e', 0});

    std::vector<uint8_t> segment = {0xFF, 0xE1};
    put16(segment, uint16_t(2 + 6 + tiff.size()), true);
    segment.insert(segment.end(), {'E', 'x', 'i', 'f', 0, 0});
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

std::vector<uint8_t> withStrayBytesBeforeFrame(std::vector<uint8_t> jpeg) {
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const uint8_t marker = jpeg[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            jpeg.insert(jpeg.begin() + std::ptrdiff_t(at), {0x12, 0x34, 0x56});
            return jpeg;
        }
        at += 2 + ((std::size_t(jpeg[at + 2]) << 8) | jpeg[at + 3]);
    }
    throw std::runtime_error("no frame marker in the test picture");
}

int largestBlockColorDifference(const Bitmap24& a, const Bitmap24& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        throw std::runtime_error("pictures of different sizes");
    }
    int largest = 0;
    for (int32_t by = 0; by + 8 <= a.height(); by += 8) {
        for (int32_t bx = 0; bx + 8 <= a.width(); bx += 8) {
            for (int channel = 0; channel < 3; ++channel) {
                int sumA = 0, sumB = 0;
                for (int32_t y = by; y < by + 8; ++y) {
                    for (int32_t x = bx; x < bx + 8; ++x) {
                        sumA += a.row(y)[x * 3 + channel];
                        sumB += b.row(y)[x * 3 + channel];
                    }
                }
                largest = std::max(largest, std::abs(sumA - sumB) / 64);
            }
        }
    }
    return largest;
}

} // namespace zg::test
