#include "gfx/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace zg {

namespace {

// libjpeg reports errors through a callback that must not return. We leave it
// with longjmp back into the decoding function, which then throws; no C++
// object with a destructor lives between the setjmp and the library calls.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings such as "premature end of data" mean the picture is incomplete:
// treat them as errors so a damaged file is reported instead of shown half grey.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        onError(cinfo);
    }
}

struct Decoded {
    int32_t width = 0;
    int32_t height = 0;
};

// Runs the decoder; `rows` receives each output scanline. Returns false with
// `message` filled on failure.
template <typename Setup, typename Rows>
bool runDecoder(std::span<const uint8_t> data, Setup setup, Rows rows, std::string& message) {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
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

} // namespace

Bitmap24 decodeJpeg(std::span<const uint8_t> data) {
    Bitmap24 bitmap;
    std::string message;
    bool ok = runDecoder(
        data, [](jpeg_decompress_struct& c) { c.out_color_space = JCS_EXT_BGR; },
        [&bitmap](jpeg_decompress_struct& c) {
            try {
                bitmap.resize(int32_t(c.output_width), int32_t(c.output_height));
            } catch (...) {
                return false;
            }
            while (c.output_scanline < c.output_height) {
                JSAMPROW row = bitmap.row(int32_t(c.output_scanline));
                jpeg_read_scanlines(&c, &row, 1);
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
