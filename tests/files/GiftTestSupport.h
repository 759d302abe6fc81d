#pragma once

#include "files/GiftInfo.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace zg::test {

/// A trailer with every field away from its default, texts with code-page
/// characters and CR LF line breaks.
inline TGiftInfo sampleGiftInfo() {
    TGiftInfo info;
    info.MakerVersion = "v4.04";
    info.Created = 45292.5; // 2024-01-01 12:00
    info.Title = "Caf\u00E9 at the \u20ACuro harbour";
    info.Creator = "Ren\u00E9e";
    info.Description = "First line\r\nSecond line \u201Cquoted\u201D";
    info.BackgroundColor = 0x00336699;
    info.RequestedPieces = 100;
    info.Oddness = 7;
    info.Seed = 0xDEADBEEF;
    info.StartMessage = "Hello!\r\nHave fun.";
    info.EndMessage = "Bye \u2014 come back soon";
    info.StartFont = {0x000000FF, -14, kPitchVariable, kFontBold | kFontItalic, "Liberation Serif"};
    info.EndFont = {0x80000012, 12, kPitchFixed, kFontUnderline, "DejaVu Sans Mono"};
    info.StartBackground = "clInfoBk";
    info.EndBackground = "$00FF00";
    info.StartAlign = kAlignLeft;
    info.EndAlign = kAlignRight;
    info.Style = 4;
    info.OutlineStyle = 3;
    info.RotationOn = 1;
    return info;
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

/// The small JPEG kept with the test data (64 x 48).
inline std::vector<uint8_t> tinyJpeg() {
    const char* dir = std::getenv("ZG_TEST_DATA");
    return readBytes(std::filesystem::path(dir ? dir : "tests/data") / "tiny.jpg");
}

/// A minimal standard MIDI file: header chunk and one empty track.
inline std::vector<uint8_t> tinyMidi() {
    return {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
            96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
}

/// Lays out a whole gift: a stand-in program image, the picture, the music
/// (when given) and the trailer, with the offsets of `info` filled in.
inline std::vector<uint8_t> makeGiftBytes(TGiftInfo info, const std::vector<uint8_t>& picture,
                                          const std::vector<uint8_t>& music = {}) {
    std::vector<uint8_t> bytes(300, 0x90);
    bytes[0] = 0x7F;
    info.PictureOffset = uint32_t(bytes.size());
    info.PictureLength = uint32_t(picture.size());
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    info.MusicOffset = uint32_t(bytes.size());
    info.MusicLength = int32_t(music.size());
    bytes.insert(bytes.end(), music.begin(), music.end());
    const auto trailer = serializeGiftInfo(info);
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}

/// Puts a little-endian 32-bit value into the trailer at the end of `gift`.
inline void patchTrailer32(std::vector<uint8_t>& gift, std::size_t fieldOffset, uint32_t value) {
    const std::size_t at = gift.size() - kGiftTrailerSize + fieldOffset;
    for (int i = 0; i < 4; ++i) {
        gift[at + std::size_t(i)] = uint8_t(value >> (8 * i));
    }
}

/// A fresh empty folder removed again when the test ends.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zg-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace zg::test
