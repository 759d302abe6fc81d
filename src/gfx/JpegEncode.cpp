#include "gfx/JpegEncode.h"

#include "gfx/Jpeg.h"
#include "gfx/JpegCompress.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace zg {

namespace {

// A destination that appends the compressed bytes to a vector owned by the
// caller, so nothing needs freeing when libjpeg jumps out with an error.
struct VectorDestination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t>* bytes;
    std::array<JOCTET, 16384> chunk;
};

bool appendChunk(j_compress_ptr cinfo, std::size_t count) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    try {
        dest->bytes->insert(dest->bytes->end(), dest->chunk.begin(), dest->chunk.begin() + count);
    } catch (...) {
        return false;
    }
    dest->pub.next_output_byte = dest->chunk.data();
    dest->pub.free_in_buffer = dest->chunk.size();
    return true;
}

void startDestination(j_compress_ptr cinfo) {
    appendChunk(cinfo, 0);
}

boolean emptyDestination(j_compress_ptr cinfo) {
    if (!appendChunk(cinfo, reinterpret_cast<VectorDestination*>(cinfo->dest)->chunk.size())) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    }
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    if (!appendChunk(cinfo, dest->chunk.size() - dest->pub.free_in_buffer)) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    }
}

bool runCompressor(int32_t width, int32_t height, int components, J_COLOR_SPACE input,
                   const jpeg::Configure& configure, const jpeg::RowSource& rows, VectorDestination& dest,
                   jpeg::ErrorManager& err) {
    jpeg_compress_struct cinfo{};
    cinfo.err = jpeg::installErrorManager(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    dest.pub.init_destination = startDestination;
    dest.pub.empty_output_buffer = emptyDestination;
    dest.pub.term_destination = termDestination;
    cinfo.dest = &dest.pub;
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = input;
    jpeg_set_defaults(&cinfo);
    configure(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg only reads the rows; its interface is not const-correct.
        JSAMPROW row = const_cast<uint8_t*>(rows(int32_t(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

namespace jpeg {

std::vector<uint8_t> compress(int32_t width, int32_t height, int components, J_COLOR_SPACE input,
                              const Configure& configure, const RowSource& rows) {
    std::vector<uint8_t> bytes;
    auto dest = std::make_unique<VectorDestination>();
    dest->bytes = &bytes;
    ErrorManager err{};
    if (!runCompressor(width, height, components, input, configure, rows, *dest, err)) {
        throw JpegError(std::string("Cannot encode the picture: ") + err.message);
    }
    return bytes;
}

} // namespace jpeg

std::vector<uint8_t> encodeJpeg(const Bitmap24& picture, int quality) {
    return jpeg::compress(
        picture.width(), picture.height(), 3, JCS_EXT_BGR,
        [quality](jpeg_compress_struct& cinfo) {
            jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
            cinfo.optimize_coding = TRUE;
            // No chroma subsampling: the pieces' edges cut through fine colour detail.
            for (int c = 0; c < cinfo.num_components; ++c) {
                cinfo.comp_info[c].h_samp_factor = 1;
                cinfo.comp_info[c].v_samp_factor = 1;
            }
        },
        [&picture](int32_t y) { return picture.row(y); });
}

} // namespace zg
