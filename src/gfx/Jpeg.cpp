#include "gfx/Jpeg.h"

#include "gfx/JpegErrors.h"

#include <algorithm>
#include <string>

namespace zg {

namespace {

using jpeg::ErrorManager;
using jpeg::onError;

// A warning means the decoder met something wrong and carried on. Most are
// harmless (stray bytes before a marker, a bad code it resynchronised after),
// but running out of data means the rest of the picture would come out grey:
// report that as an error so a damaged file is refused instead of shown half grey.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        const int code = cinfo->err->msg_code;
        if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
            onError(cinfo);
        }
    }
}

// Runs the decoder; `rows` receives each output scanline. Returns false with
// `message` filled on failure.
template <typename Setup, typename Rows>
bool runDecoder(std::span<const uint8_t> data, Setup setup, Rows rows, std::string& message) {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg::installErrorManager(err);
    err.base.emit_message = onMessage;
    if (setjmp(err.jump)) {
        message = err.message;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    if (data.empty()) {
        std::snprintf(err.message, sizeof err.message, "empty JPEG data");
        std::longjmp(err.jump, 1);
    }
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > unsigned(kMaxJpegSide) ||
        cinfo.image_height > unsigned(kMaxJpegSide)) {
        std::snprintf(err.message, sizeof err.message, "JPEG picture size %ux%u is out of range",
                      cinfo.image_width, cinfo.image_height);
        std::longjmp(err.jump, 1);
    }
    setup(cinfo);
    jpeg_start_decompress(&cinfo);
    if (!rows(cinfo)) {
        std::snprintf(err.message, sizeof err.message, "out of memory decoding JPEG");
        std::longjmp(err.jump, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// libjpeg turns YCCK into CMYK but neither into RGB, so four-channel
// pictures are converted here. Pictures with an Adobe marker (all that Adobe
// software writes, and every YCCK one) store the channels inverted: 255 means
// no ink. Without the marker 0 means no ink. Each colour channel is the light
// its own ink lets through times the light the black ink lets through.
void cmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, uint32_t width, bool inverted) {
    for (uint32_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned blackPasses = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned inkPasses = inverted ? cmyk[c] : 255u - cmyk[c];
            bgr[2 - c] = uint8_t((inkPasses * blackPasses + 127) / 255);
        }
    }
}

} // namespace

Bitmap24 decodeJpeg(std::span<const uint8_t> data) {
    Bitmap24 bitmap;
    std::vector<uint8_t> cmykRow; // lives outside the decoder: libjpeg may jump past the row reader
    std::string message;
    bool ok = runDecoder(
        data,
        [](jpeg_decompress_struct& c) {
            const bool fourChannels = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
            c.out_color_space = fourChannels ? JCS_CMYK : JCS_EXT_BGR;
        },
        [&bitmap, &cmykRow](jpeg_decompress_struct& c) {
            const bool fourChannels = c.out_color_space == JCS_CMYK;
            try {
                bitmap.resize(int32_t(c.output_width), int32_t(c.output_height));
                if (fourChannels) {
                    cmykRow.resize(std::size_t(c.output_width) * 4);
                }
            } catch (...) {
                return false;
            }
            while (c.output_scanline < c.output_height) {
                const int32_t y = int32_t(c.output_scanline);
                JSAMPROW row = fourChannels ? cmykRow.data() : bitmap.row(y);
                if (jpeg_read_scanlines(&c, &row, 1) == 1 && fourChannels) {
                    cmykRowToBgr(cmykRow.data(), bitmap.row(y), c.output_width, c.saw_Adobe_marker);
                }
            }
            return true;
        },
        message);
    if (!ok) {
        throw JpegError("Cannot decode the picture: " + message);
    }
    return bitmap;
}

Bitmap8 decodeJpegPalette(std::span<const uint8_t> data, int colors) {
    Bitmap8 image;
    std::string message;
    colors = std::clamp(colors, 8, 256);
    bool ok = runDecoder(
        data,
        [colors](jpeg_decompress_struct& c) {
            c.out_color_space = JCS_RGB;
            c.quantize_colors = TRUE;
            c.desired_number_of_colors = colors;
            c.two_pass_quantize = TRUE;
            c.dither_mode = JDITHER_FS;
        },
        [&image](jpeg_decompress_struct& c) {
            try {
                image.width = int32_t(c.output_width);
                image.height = int32_t(c.output_height);
                image.indices.assign(std::size_t(image.width) * std::size_t(image.height), 0);
            } catch (...) {
                return false;
            }
            while (c.output_scanline < c.output_height) {
                JSAMPROW row =
                    image.indices.data() + std::size_t(c.output_scanline) * std::size_t(image.width);
                jpeg_read_scanlines(&c, &row, 1);
            }
            image.palette.clear();
            for (int i = 0; i < c.actual_number_of_colors; ++i) {
                const uint8_t r = c.colormap[0][i];
                const uint8_t g = c.out_color_components > 1 ? c.colormap[1][i] : r;
                const uint8_t b = c.out_color_components > 2 ? c.colormap[2][i] : r;
                image.palette.push_back(rgb(r, g, b));
            }
            return true;
        },
        message);
    if (!ok) {
        throw JpegError("Cannot decode the picture: " + message);
    }
    return image;
}

} // namespace zg
