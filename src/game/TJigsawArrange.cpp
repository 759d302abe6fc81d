// Tidying the loose pieces of the board or of a tray: in a grid, in rings
// round the edge, or scattered again.

#include "game/ArrangeLayout.h"
#include "game/TJigsaw.h"
#include "gfx/KeepVisible.h"

namespace zg {

namespace {

/// Pieces the arrangements move: neither joined nor put down by the player.
bool isLoose(const TFormPiece& p) {
    return !p.Joined && !p.Placed;
}

int32_t countLoose(const PieceList& list) {
    int32_t n = 0;
    for (const TFormPiece* p : list) {
        n += isLoose(*p) ? 1 : 0;
    }
    return n;
}

} // namespace

int32_t TJigsaw::arrangeMode(bool byShape, bool byColour) {
    if (byShape) {
        return byColour ? 3 : 1;
    }
    return byColour ? 2 : 4;
}

void TJigsaw::ArrangeInGrid(TBox& tray, bool byShape, bool byColour) {
    abandonBoardInput();
    const Rect a = tray.ClientRect();
    if (tray.Pieces.empty() || a.isEmpty()) {
        return;
    }
    tray.SortPieces(arrangeMode(byShape, byColour));
    // The area's size counts its last row and column as well.
    const GridLayout grid = chooseGridLayout(a.Right - a.Left + 1, a.Bottom - a.Top + 1, State.PieceWidth,
                                             countLoose(tray.Pieces));
    placeLoose(tray, [&grid](int32_t k) {
        return Point{(k % grid.Cols) * grid.CellSize, (k / grid.Cols) * grid.CellSize};
    });
}

void TJigsaw::ArrangeAtEdge(TBox& tray, bool byShape, bool byColour) {
    abandonBoardInput();
    const Rect a = tray.ClientRect();
    if (tray.Pieces.empty() || a.isEmpty()) {
        return;
    }
    tray.SortPieces(arrangeMode(byShape, byColour));
    const int32_t n = countLoose(tray.Pieces);
    const EdgeLayout layout = chooseEdgeLayout(a.Right - a.Left + 1, a.Bottom - a.Top + 1, State.PieceWidth,
                                               State.ScaledWidth, State.ScaledHeight, n);
    const std::vector<Point> cells = edgeCells(layout, n);
    placeLoose(tray, [&cells](int32_t k) { return cells[std::size_t(k)]; });
}

void TJigsaw::placeLoose(TBox& tray, const std::function<Point(int32_t)>& cell) {
    const Rect a = tray.ClientRect();
    const int32_t hw = State.PieceWidth / 2;
    const int32_t hh = State.PieceHeight / 2;
    int32_t k = 0;
    for (TFormPiece* p : tray.Pieces) {
        if (!isLoose(*p)) {
            continue;
        }
        const Point at = cell(k++);
        Rect r = Rect::fromSize(a.Left + at.X, a.Top + at.Y, p->Width, p->Height);
        // Cells past the area (more pieces than cells) stay reachable.
        keepVisible(r, a, hw, hh);
        p->Left = r.Left;
        p->Top = r.Top;
    }
    tray.SortPieces(0);
    RecordPositions(tray);
    RefreshBoardRect(tray.OuterRect());
}

void TJigsaw::Disarrange(TBox& tray, bool rotate) {
    abandonBoardInput();
    if (tray.Pieces.empty() || tray.ClientRect().isEmpty()) {
        return;
    }
    if (rotate) {
        RandomTurns(tray.Pieces, Config.RotationOn);
        tray.SortPieces(0);
        RefreshBoardRect(tray.OuterRect());
        return;
    }
    Scatter(tray.Pieces, tray.ClientRect());
    tray.SortPieces(0);
    RecordPositions(tray);
    RefreshBoardRect(tray.OuterRect());
}

} // namespace zg
