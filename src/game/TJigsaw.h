#pragma once

#include "board/TBoxes.h"
#include "files/TJigConfig.h"

#include <cstdint>
#include <string>

namespace zg {

/// The puzzle object: the top layer, holding the game state and the rules
/// of play over the tray set and the pieces below it.
class TJigsaw : public TBoxes {
public:
    explicit TJigsaw(Host& host);
    ~TJigsaw() override;

    static constexpr uint8_t kNoPuzzle = 0;
    static constexpr uint8_t kPlaying = 2;

    bool IsPlaying() const { return GameState == kPlaying; }

    /// Computes the grid for the picture size and request held in `State`
    /// (PictureWidth/Height, RequestedPieces) and stores Cols, Rows and PieceCount.
    /// @throws GiftDamagedError for a grid that cannot be cut.
    void computeGridFromState();

    /// Scatters the listed pieces over `area` in list order, skipping joined
    /// pieces: each becomes its own group and gets a random place (kept visible)
    /// and a random stacking key.
    void Scatter(const PieceList& list, const Rect& area);

    /// First layout of a new game: every piece scattered over the main board area.
    void NewLayout();

    uint8_t GameState = kNoPuzzle;
    uint8_t MouseMode = 0;
    TJigConfig Config;
    TBox* CurrentTray = nullptr;
    std::string ProgramPath;
};

} // namespace zg
