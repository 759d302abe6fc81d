#include "game/TJigsaw.h"

#include "game/Grid.h"
#include "gfx/KeepVisible.h"

namespace zg {

TJigsaw::TJigsaw(Host& host) : TMove(host) {
    CurrentTray = &mainArea();
}

TJigsaw::~TJigsaw() = default;

void TJigsaw::computeGridFromState() {
    const GridSize grid = computeGrid(State.PictureWidth, State.PictureHeight, State.requestedCount());
    State.Cols = grid.Cols;
    State.Rows = grid.Rows;
    State.PieceCount = uint16_t(grid.pieceCount());
}

void TJigsaw::Scatter(const PieceList& list, const Rect& area, bool turnNow) {
    const int32_t hw = State.PieceWidth / 2;
    const int32_t hh = State.PieceHeight / 2;
    for (TFormPiece* p : list) {
        if (p->Joined) {
            continue;
        }
        p->GroupId = State.NextGroupId++;
        if (Config.RotationOn) {
            p->PendingTurns = uint8_t(Rng.Random(4));
        }
        // Both ranges use half the piece width; a range below zero still draws.
        p->Left = area.Left + Rng.randomRange(int64_t(area.Right) - area.Left - hw + 1);
        p->Top = area.Top + Rng.randomRange(int64_t(area.Bottom) - area.Top - hw + 1);
        Rect r = p->boardRect();
        keepVisible(r, area, hw, hh);
        // Also stores the place relative to the area, so a later change of
        // board size spreads the pieces over the new size.
        p->setPosition(r.Left, r.Top, area, State.PictureWidth, State.PictureHeight);
        p->Placed = false;
        p->Stacking = uint16_t(Rng.Random(65535));
    }
    // The turns drawn above reach the images in one pass.
    if (turnNow) {
        RotatePieces(list, 0, Config.RotationOn);
    }
}

void TJigsaw::NewLayout(bool turnNow) {
    CurrentTray = &mainArea();
    mainArea().SetSize(Config.BoardWidth, Config.BoardHeight);
    State.NextGroupId = 0;
    Scatter(mainArea().Pieces, mainArea().ClientRect(), turnNow);
    CompletionCandidate = false;
}

} // namespace zg
