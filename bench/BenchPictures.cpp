#include "BenchPictures.h"

#include "gfx/Jpeg.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace zg::bench {

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bitmap24 tiledPicture(const Bitmap24& tile, int32_t w, int32_t h) {
    Bitmap24 out(w, h);
    for (int32_t y = 0; y < h; ++y) {
        const int32_t ty =
            (y / tile.height()) % 2 == 0 ? y % tile.height() : tile.height() - 1 - y % tile.height();
        for (int32_t x = 0; x < w; ++x) {
            const int32_t tx =
                (x / tile.width()) % 2 == 0 ? x % tile.width() : tile.width() - 1 - x % tile.width();
            out.setPixel(x, y, tile.pixel(tx, ty));
        }
    }
    return out;
}

std::vector<uint8_t> encodeJpeg(const Bitmap24& picture, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(picture.width());
    cinfo.image_height = JDIMENSION(picture.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(picture.row(int32_t(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

struct Photo {
    Bitmap24 picture;
    std::vector<uint8_t> jpeg;
};

const Photo& photo(int32_t w, int32_t h) {
    static std::map<std::pair<int32_t, int32_t>, std::unique_ptr<Photo>> photos;
    auto& slot = photos[{w, h}];
    if (!slot) {
        const std::vector<uint8_t> demo = readFile(std::string(ZG_ASSETS) + "/demo/picture.jpg");
        slot = std::make_unique<Photo>();
        slot->picture = tiledPicture(decodeJpeg(demo), w, h);
        slot->jpeg = encodeJpeg(slot->picture, 90);
    }
    return *slot;
}

} // namespace

const Bitmap24& photoPicture(int32_t w, int32_t h) {
    return photo(w, h).picture;
}

const std::vector<uint8_t>& photoJpeg(int32_t w, int32_t h) {
    return photo(w, h).jpeg;
}

double threadNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

} // namespace zg::bench
