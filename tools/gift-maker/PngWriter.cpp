#include "PngWriter.h"

#include "ToolError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <zlib.h>

namespace zg::maker {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kCompressionLevel = 6;
constexpr uint8_t kFilterNone = 0;
/// PNG limits chunk lengths to 2^31 - 1; large pictures get several IDAT chunks.
constexpr std::size_t kMaxChunkData = std::size_t(1) << 30;

void putBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 24));
    out.push_back(uint8_t(value >> 16));
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

/// Appends one chunk: length, type, data and the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, const char (&type)[5], const uint8_t* data, std::size_t size) {
    putBigEndian32(out, uint32_t(size));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    uLong crc = crc32(0L, Z_NULL, 0);
    // The CRC covers type and data; crc32 takes at most uInt bytes at a time.
    const uint8_t* p = out.data() + typeAt;
    std::size_t left = 4 + size;
    while (left > 0) {
        const uInt n = uInt(std::min<std::size_t>(left, kMaxChunkData));
        crc = crc32(crc, p, n);
        p += n;
        left -= n;
    }
    putBigEndian32(out, uint32_t(crc));
}

/// The picture's rows as one zlib stream, each row a filter byte followed by
/// its pixels in red, green, blue order.
std::vector<uint8_t> compressRows(const Bitmap24& picture) {
    z_stream stream{};
    if (deflateInit(&stream, kCompressionLevel) != Z_OK) {
        throw std::runtime_error("cannot start the PNG compressor");
    }
    std::vector<uint8_t> out;
    std::vector<uint8_t> row(1 + std::size_t(picture.width()) * 3);
    uint8_t buffer[65536];
    const auto pump = [&](int flush) {
        int result = Z_OK;
        do {
            stream.next_out = buffer;
            stream.avail_out = sizeof buffer;
            result = deflate(&stream, flush);
            if (result == Z_STREAM_ERROR) {
                deflateEnd(&stream);
                throw std::runtime_error("the PNG compressor failed");
            }
            out.insert(out.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    };
    for (int32_t y = 0; y < picture.height(); ++y) {
        const uint8_t* source = picture.row(y);
        row[0] = kFilterNone;
        for (int32_t x = 0; x < picture.width(); ++x) {
            // Bitmap24 holds blue, green, red; PNG wants red, green, blue.
            const std::size_t i = std::size_t(x) * 3;
            row[1 + i] = source[i + 2];
            row[2 + i] = source[i + 1];
            row[3 + i] = source[i];
        }
        stream.next_in = row.data();
        stream.avail_in = uInt(row.size());
        pump(Z_NO_FLUSH);
    }
    pump(Z_FINISH);
    deflateEnd(&stream);
    return out;
}

} // namespace

std::vector<uint8_t> encodePng(const Bitmap24& picture) {
    if (picture.isEmpty()) {
        throw std::invalid_argument("cannot write an empty picture as PNG");
    }
    std::vector<uint8_t> png(std::begin(kSignature), std::end(kSignature));

    std::vector<uint8_t> header;
    putBigEndian32(header, uint32_t(picture.width()));
    putBigEndian32(header, uint32_t(picture.height()));
    header.push_back(8); // bits per channel
    header.push_back(2); // colour type: RGB
    header.push_back(0); // compression: deflate
    header.push_back(0); // filter method: adaptive, per row
    header.push_back(0); // no interlace
    putChunk(png, "IHDR", header.data(), header.size());

    const std::vector<uint8_t> data = compressRows(picture);
    for (std::size_t at = 0; at < data.size(); at += kMaxChunkData) {
        putChunk(png, "IDAT", data.data() + at, std::min(kMaxChunkData, data.size() - at));
    }
    putChunk(png, "IEND", nullptr, 0);
    return png;
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw ToolError("cannot write \"" + path + "\": " + std::strerror(errno));
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int why = !written ? writeErrno : errno;
        std::remove(path.c_str());
        throw ToolError("cannot write \"" + path + "\": " + std::strerror(why));
    }
}

} // namespace zg::maker
