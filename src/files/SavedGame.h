#pragma once

#include "files/TGameState.h"
#include "files/TrayRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace zg {

class PackedReader;
class PackedWriter;

/// Byte sizes of the blocks of a saved game.
constexpr std::size_t kGameStateSize = 4457;
constexpr std::size_t kGameExtraSize = 27;
constexpr std::size_t kPieceBlockASize = 12;
constexpr std::size_t kPieceBlockBSize = 22;
constexpr std::size_t kPieceBlockCSize = 2;
constexpr std::size_t kSettingsBlockSize = 26;
/// The settings block is applied only when it ends with this marker.
constexpr int32_t kSettingsMarker = 4;

/// A saved game that cannot be resumed; what() says why in a few words.
class SavedGameError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One piece as the saved game stores it, spread over blocks A, B and C.
struct SavedPiece {
    int16_t HomeX = 0;
    int16_t HomeY = 0;
    uint16_t Width = 0; ///< as currently turned
    uint16_t Height = 0;
    uint32_t ColorKey = 0;
    double RelX = 0.0;
    double RelY = 0.0;
    uint32_t GroupId = 0;
    int16_t Stacking = 0;
    uint8_t Rotation = 0; ///< quarter turns, 0..3 once read
    uint8_t Joined = 0;
    uint8_t Settled = 0;
    uint8_t Placed = 0;
    int16_t TrayIndex = 0;
};

/// The options block at the end of the saved game, as stored. The one-byte
/// switches keep their raw values so that a damaged block can be recognised.
struct SettingsBlock {
    uint8_t ShadowsOn = 1;
    uint8_t RotationOn = 0;
    uint8_t CheatingOn = 1;
    uint8_t SoundOn = 1;
    uint8_t Music = 1;
    int32_t OutlineStyle = 2;
    uint8_t GhostOn = 0;
    int32_t SnapDivisor = 4;
    int32_t BoardWidth = 0;
    int32_t BoardHeight = 0;
    int32_t Marker = kSettingsMarker;

    /// True when the block may be applied: the marker is 4, every switch is 0
    /// or 1, the outline style is 0..3 and the snap divisor one of 2, 3, 4, 6, 10.
    bool usable() const;
};

/// Everything a saved game holds, read into plain values that nothing in the
/// running puzzle shares, so that a file can be checked whole before any of
/// it is used.
struct SavedGame {
    TGameState State;
    TGameExtra Extra;
    std::vector<SavedPiece> Pieces; ///< PieceCount entries in piece-index order
    std::vector<TrayRecord> Trays;  ///< one per user tray, in tray-list order
    SettingsBlock Settings;
};

void writeGameState(PackedWriter& out, const TGameState& state);
/// @throws std::out_of_range when fewer than 4,457 bytes remain.
TGameState readGameState(PackedReader& in);
void writeGameExtra(PackedWriter& out, const TGameExtra& extra);
/// @throws std::out_of_range when fewer than 27 bytes remain.
TGameExtra readGameExtra(PackedReader& in);

/// The exact size of a saved game of `version` with `pieceCount` pieces and
/// `savedTrayCount` trays (main board area included).
std::size_t savedGameSize(int16_t version, uint32_t pieceCount, uint32_t savedTrayCount);

/// Reads a whole saved game. A record of Version below 3 has no extra block
/// and takes its defaults. Each piece's Rotation is taken modulo 4 and, for
/// an odd turn, its Width and Height are swapped back to the turned size.
/// @throws SavedGameError when PieceCount is not Cols x Rows or the file is
///         not exactly as long as its counts say (ends early or runs on).
SavedGame parseSavedGame(std::span<const uint8_t> bytes);

/// The file image of `game`. SavedTrayCount is written as one more than the
/// number of tray records, whatever `game.Extra` holds, so the count always
/// matches the records that follow. Texts are converted to the one-byte code
/// page and cut to their fields; nothing here throws for a value.
std::vector<uint8_t> encodeSavedGame(const SavedGame& game);

} // namespace zg
