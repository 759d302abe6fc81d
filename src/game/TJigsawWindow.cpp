// The puzzle's side of the main window: game state, board size and painting.

#include "game/TJigsaw.h"
#include "host/Host.h"

#include <algorithm>

namespace zg {

namespace {
// Snapping tolerances by level (PieceHeight / divisor); playing always uses level 2.
constexpr int32_t kSnapDivisors[] = {2, 3, 4, 6, 10};
constexpr int kPlayingSnapLevel = 2;
} // namespace

void TJigsaw::SetGameState(uint8_t state) {
    GameState = state;
    if (state == kPlaying) {
        Config.SnapDivisor = kSnapDivisors[kPlayingSnapLevel];
        host().puzzleStarted();
    }
}

void TJigsaw::SetBoardSize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    Config.BoardWidth = width;
    Config.BoardHeight = height;
    if (!IsPlaying()) {
        BackBuffer.resize(width, height);
        BackBuffer.fill(BoardColor);
        return;
    }
    // A held selection or drag would lose its sprite, and a rubber band its
    // outline, in the rebuilt board while the pieces stay hidden.
    abandonBoardInput();
    BusyScope busy(host());
    recordBoardSize(width, height);
    BackBuffer.resize(width, height);
    Mural.SetWallSize(width, height);
    Mural.PaintWall(Config.GhostOn, &Picture, BoardColor);
    FitTraysToBoard(width, height);
    DrawBoard(Mural);
    ResetCompositor();
    host().applyTrayBar(LayoutTrayBar(true, host().trayBarMetrics()));
}

void TJigsaw::PaintBoard(int32_t outlineChoice) {
    if (!IsPlaying() || outlineChoice == Config.OutlineStyle) {
        return;
    }
    // A held sprite was drawn with the old shading: put it down first.
    abandonBoardInput();
    const bool wasWood = Config.isWood();
    Config.OutlineStyle = outlineChoice;
    // Every cell holds its piece as it lies, so shading from the cells gives
    // turned pieces their bevels too, without rebuilding the pieces.
    buildShading();
    if (wasWood || Config.isWood()) {
        // Side faces change how far pieces reach: lay the board out again.
        SetBoardSize(BackBuffer.width(), BackBuffer.height());
    } else {
        DrawBoard(Mural);
        ResetCompositor();
    }
}

} // namespace zg
