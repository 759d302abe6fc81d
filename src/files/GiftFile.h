#pragma once

#include "files/GiftInfo.h"
#include "files/TGameState.h"
#include "gfx/Bitmap24.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zg {

/// One gift on disk (normally the running program itself): the trailer at the
/// end of the file and the picture and music it points at.
///
/// Nothing in the trailer is trusted: opening checks that the picture lies
/// inside the file (in 64-bit arithmetic, so offset + length cannot wrap), and
/// music whose range leaves the file or that is no standard MIDI file ("MThd")
/// is treated as absent rather than as damage, since the puzzle can be played
/// without it.
class GiftFile {
public:
    /// Reads and checks the trailer of the file at `path` (the last 3,421 bytes).
    /// @throws GiftDamagedError when the file is shorter than the trailer, the
    ///         trailer is damaged (see parseGiftInfo) or the picture is empty or
    ///         reaches outside the file.
    /// @throws std::runtime_error when the file cannot be opened or read.
    static GiftFile open(const std::string& path);

    /// The same checks over a whole gift file held in memory (tests, fuzzing).
    /// programPath() is then empty.
    /// @throws GiftDamagedError as open().
    static GiftFile fromBytes(std::vector<uint8_t> bytes);

    /// The trailer as read (lengths and offsets as stored, enums clamped).
    const TGiftInfo& info() const { return m_info; }

    /// True when the gift carries usable music: a positive length, a range
    /// inside the file and the "MThd" signature.
    bool hasMusic() const { return m_hasMusic; }

    /// Size of the whole gift file in bytes.
    uint64_t fileSize() const { return m_size; }

    /// The path the gift was opened from; the saved game's name derives from it.
    const std::string& programPath() const { return m_path; }

    /// The picture's JPEG bytes, read afresh from the file.
    /// @throws GiftDamagedError when the file has become shorter since it was opened.
    /// @throws std::runtime_error when the file cannot be opened any more.
    std::vector<uint8_t> pictureBytes() const;

    /// Reads and decodes the picture to 24-bit colour. A picture that does
    /// not decode is reported as a damaged gift, so the user sees the one
    /// damaged-file message instead of a decoder's details.
    /// @throws GiftDamagedError for a missing or undecodable picture.
    /// @throws std::runtime_error when the file cannot be opened any more.
    Bitmap24 LoadGiftPicture() const;

    /// The music's MIDI bytes; empty when the gift has no usable music or it
    /// cannot be read. Never throws for a read failure.
    std::vector<uint8_t> musicBytes() const;

    /// Writes the music as "jig1.mid" into `dir` (a private folder the caller
    /// made; the working directory is never used) and returns the file's path.
    /// Returns "" when the gift has no music or the file cannot be written; a
    /// partly written file is removed. Never throws for either.
    std::string ExtractGiftMusic(const std::string& dir) const;

private:
    GiftFile() = default;

    /// Checks the trailer found at the end of a file of `size` bytes and decides
    /// whether the music can be used, given its first four bytes (if any).
    void check(std::span<const uint8_t> trailer, uint64_t size);
    void decideMusic(std::span<const uint8_t> head);
    std::vector<uint8_t> readRange(uint64_t offset, uint64_t length) const;

    std::string m_path;
    std::shared_ptr<const std::vector<uint8_t>> m_memory;
    uint64_t m_size = 0;
    TGiftInfo m_info;
    bool m_hasMusic = false;
};

/// The path of the running program (from /proc/self/exe), or "" when the
/// system cannot tell.
std::string currentExecutablePath();

/// Initialises the puzzle record from a freshly read gift: Version 5,
/// MakerVersion (cut to 15 characters), Created, Title and Creator (cut to 64),
/// the Description block byte for byte, RequestedPieces, Oddness, Seed, Style,
/// ScalePercent 100, the reserved word 24, the solved flag, solved count,
/// elapsed seconds, cheat count and auto-solve flag 0, HasDescription 1, both
/// spare strings empty and the last word 0. The grid, piece counts and picture
/// sizes are left for the puzzle core to fill when it cuts.
/// @throws std::invalid_argument when Description has no Windows-1252 form
///         (never for a trailer that parseGiftInfo read).
void initGameState(const TGiftInfo& info, TGameState& state);

} // namespace zg
