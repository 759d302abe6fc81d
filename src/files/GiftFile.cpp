#include "files/GiftFile.h"

#include "files/Cp1252.h"
#include "files/GiftError.h"
#include "gfx/Jpeg.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace zg {
namespace {

constexpr char kMidiSignature[4] = {'M', 'T', 'h', 'd'};
constexpr const char* kMusicFileName = "jig1.mid";

std::runtime_error openError(const std::string& path) {
    return std::runtime_error("Cannot open the gift file \"" + path + "\": " + std::strerror(errno));
}

/// True when [offset, offset + length) lies inside a file of `size` bytes.
bool rangeInside(uint64_t offset, uint64_t length, uint64_t size) {
    return offset <= size && length <= size - offset;
}

} // namespace

GiftFile GiftFile::open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw openError(path);
    }
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < 0) {
        throw std::runtime_error("Cannot read the gift file \"" + path + "\"");
    }
    const uint64_t size = uint64_t(end);
    if (size < kGiftTrailerSize) {
        throw GiftDamagedError();
    }
    std::array<uint8_t, kGiftTrailerSize> trailer{};
    in.seekg(std::streamoff(size - kGiftTrailerSize));
    if (!in.read(reinterpret_cast<char*>(trailer.data()), std::streamsize(trailer.size()))) {
        throw GiftDamagedError();
    }

    GiftFile gift;
    gift.m_path = path;
    gift.check(trailer, size);
    if (gift.m_info.MusicLength > 0 &&
        rangeInside(gift.m_info.MusicOffset, uint64_t(gift.m_info.MusicLength), size)) {
        std::array<uint8_t, 4> head{};
        in.seekg(std::streamoff(gift.m_info.MusicOffset));
        if (in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()))) {
            gift.decideMusic(head);
        }
    }
    return gift;
}

GiftFile GiftFile::fromBytes(std::vector<uint8_t> bytes) {
    if (bytes.size() < kGiftTrailerSize) {
        throw GiftDamagedError();
    }
    GiftFile gift;
    gift.m_memory = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    const std::vector<uint8_t>& data = *gift.m_memory;
    const std::span<const uint8_t> all(data);
    gift.check(all.subspan(data.size() - kGiftTrailerSize), data.size());
    if (gift.m_info.MusicLength > 0 &&
        rangeInside(gift.m_info.MusicOffset, uint64_t(gift.m_info.MusicLength), data.size())) {
        gift.decideMusic(all.subspan(gift.m_info.MusicOffset,
                                     std::min<std::size_t>(4, data.size() - gift.m_info.MusicOffset)));
    }
    return gift;
}

void GiftFile::check(std::span<const uint8_t> trailer, uint64_t size) {
    m_size = size;
    m_info = parseGiftInfo(trailer);
    if (m_info.PictureLength == 0 || !rangeInside(m_info.PictureOffset, m_info.PictureLength, size)) {
        throw GiftDamagedError();
    }
}

void GiftFile::decideMusic(std::span<const uint8_t> head) {
    m_hasMusic = m_info.MusicLength >= int32_t(sizeof kMidiSignature) &&
                 head.size() >= sizeof kMidiSignature &&
                 std::memcmp(head.data(), kMidiSignature, sizeof kMidiSignature) == 0;
}

std::vector<uint8_t> GiftFile::readRange(uint64_t offset, uint64_t length) const {
    if (m_memory) {
        if (!rangeInside(offset, length, m_memory->size())) {
            throw GiftDamagedError();
        }
        const auto first = m_memory->begin() + std::ptrdiff_t(offset);
        return std::vector<uint8_t>(first, first + std::ptrdiff_t(length));
    }
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        throw openError(m_path);
    }
    std::vector<uint8_t> bytes(length);
    in.seekg(std::streamoff(offset));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(length))) {
        throw GiftDamagedError();
    }
    return bytes;
}

std::vector<uint8_t> GiftFile::pictureBytes() const {
    return readRange(m_info.PictureOffset, m_info.PictureLength);
}

Bitmap24 GiftFile::LoadGiftPicture() const {
    const std::vector<uint8_t> jpeg = pictureBytes();
    try {
        return decodeJpeg(jpeg);
    } catch (const JpegError&) {
        throw GiftDamagedError();
    }
}

std::vector<uint8_t> GiftFile::musicBytes() const {
    if (!m_hasMusic) {
        return {};
    }
    try {
        return readRange(m_info.MusicOffset, uint64_t(m_info.MusicLength));
    } catch (const std::exception&) {
        return {};
    }
}

std::string GiftFile::ExtractGiftMusic(const std::string& dir) const {
    const std::vector<uint8_t> music = musicBytes();
    if (music.empty()) {
        return {};
    }
    const std::filesystem::path path = std::filesystem::path(dir) / kMusicFileName;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(music.data()), std::streamsize(music.size()));
            out.close();
        }
        if (out) {
            return path.string();
        }
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return {};
}

std::string currentExecutablePath() {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

void initGameState(const TGiftInfo& info, TGameState& state) {
    state.Version = 5;
    state.MakerVersion = utf8Prefix(info.MakerVersion, kMakerVersionCapacity);
    state.Created = info.Created;
    state.Title = utf8Prefix(info.Title, kTitleCapacity);
    state.Creator = utf8Prefix(info.Creator, kCreatorCapacity);
    state.Description = encodeTextBlock(info.Description);
    state.RequestedPieces = int16_t(info.RequestedPieces);
    state.Oddness = info.Oddness;
    state.Seed = int32_t(info.Seed);
    state.Style = info.Style;
    state.ScalePercent = 100;
    state.Reserved24 = 24;
    state.Solved = 0;
    state.SolvedCount = 0;
    state.ElapsedSeconds = 0;
    state.CheatCount = 0;
    state.AutoSolved = 0;
    state.HasDescription = 1;
    state.Spare1.clear();
    state.Spare2.clear();
    state.ReservedLast = 0;
}

} // namespace zg
