#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zg {

/// The record of the current puzzle: what was cut, how far play has come.
/// Texts are held as UTF-8 here and converted to the one-byte code page at the
/// file boundary; the widths and signedness of the numbers are those of the
/// saved game, which stores the record field by field.
struct TGameState {
    int16_t Version = 0;        ///< 5 for a puzzle made from the gift; 1..4 select the older cutter
    int32_t MaskBufferSize = 0; ///< 2 * (AtlasWidth / 8 * AtlasHeight) of the current cut
    std::string MakerVersion;   ///< at most 15 characters
    double Created = 0.0;       ///< days since 30 December 1899
    std::string Title;          ///< at most 64 characters
    std::string Creator;        ///< at most 64 characters
    std::array<uint8_t, 1025> Description{}; ///< the gift's text block, kept byte for byte (code page 1252)
    int32_t Style = 1;                       ///< 1 Classic, 2 Blip, 3 Square, 4 Star, 5 Round, 6 Mix
    int16_t RequestedPieces = 0;             ///< as stored; read as unsigned where counts are computed
    uint16_t PieceCount = 0;
    uint16_t Cols = 0;
    uint16_t Rows = 0;
    int16_t Reserved24 = 0; ///< set to 24 when made from the gift, never read
    uint16_t Oddness = 0;
    int32_t Seed = 0;
    int32_t NextGroupId = 0;
    uint16_t PictureWidth = 0;
    uint16_t PictureHeight = 0;
    uint16_t ScaledWidth = 0;
    uint16_t ScaledHeight = 0;
    uint16_t PieceWidth = 0;
    uint16_t PieceHeight = 0;
    uint16_t AtlasWidth = 0;
    uint16_t AtlasHeight = 0;
    uint8_t Solved = 0;
    uint16_t SolvedCount = 0;
    int32_t ElapsedSeconds = 0;
    uint16_t CheatCount = 0;
    uint8_t AutoSolved = 0;
    uint8_t HasDescription = 0;
    std::string Spare1;         ///< emptied from the gift, never read
    std::string Spare2;         ///< emptied from the gift, never read
    int16_t ScalePercent = 100; ///< 10..300
    int16_t ReservedLast = 0;   ///< set to 0 from the gift, never read

    /// RequestedPieces as the unsigned count the gift stores.
    uint16_t requestedCount() const { return uint16_t(RequestedPieces); }
};

/// The small block saved after the game record.
struct TGameExtra {
    uint16_t SavedTrayCount = 0;
    uint16_t FirstVisibleTray = 1;
    uint8_t LimitOn = 0;
    uint8_t CountDown = 0;
    uint8_t ShowLimit = 0;
    int32_t TimeLimit = 600;
    int32_t BackgroundColor = int32_t(0x80000005u);
    int32_t NextStackStamp = 0;
};

} // namespace zg
