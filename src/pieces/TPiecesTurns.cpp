// Turning pieces by quarter turns: each turned piece's atlas cells are
// turned once, so drawing a turned piece costs no more than an upright one.
#include "pieces/TPieces.h"

#include "gfx/RasterOps.h"
#include "host/Host.h"
#include "pieces/TRotate.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

namespace zg {

void TPieces::TurnPiece(TFormPiece& piece, int32_t baseTurns) {
    const int32_t t = (baseTurns + piece.PendingTurns) & 3;
    if (t == 0) {
        piece.PendingTurns = 0;
        return;
    }
    const Point turned = TRotate::turnedSize(piece.Width, piece.Height, t);
    if (turned.X > State.PieceWidth || turned.Y > State.PieceHeight) {
        throw std::logic_error("a turned piece does not fit its cell");
    }
    // The scratch holds the turned box; a cell is at least as large as any
    // box in any turn, so one cell's size (or the box's own) is enough.
    const int32_t side = std::max<int32_t>({piece.Width, piece.Height, State.PieceWidth, State.PieceHeight});
    if (TurnImage.width() < side || TurnImage.height() < side) {
        TurnImage.resize(side, side);
    }
    if (TurnMask.width() < side || TurnMask.height() < side) {
        TurnMask.resize(side, side);
    }
    // A piece still drawn from the picture gets its image into its cell
    // first: from now on the cell holds it turned.
    drawImageCell(piece);
    const Rect cell = Rect::fromSize(piece.CellX, piece.CellY, piece.Width, piece.Height);
    const Rect result{0, 0, turned.X, turned.Y};
    TRotate::turn(ImageAtlas, cell, TurnImage, {0, 0}, t);
    TRotate::turn(MaskAtlas, cell, TurnMask, {0, 0}, t);
    copyRect(ImageAtlas, piece.CellX, piece.CellY, TurnImage, result);
    copyRect(MaskAtlas, piece.CellX, piece.CellY, TurnMask, result);
    piece.Width = uint16_t(turned.X);
    piece.Height = uint16_t(turned.Y);
    piece.Rotation = uint8_t((piece.Rotation + t) & 3);
    piece.PendingTurns = 0;
    buildPieceShading(piece);
}

void TPieces::RotatePieces(const PieceList& list, int32_t baseTurns, bool showProgress) {
    std::optional<BusyScope> busy;
    if (list.size() > 1) {
        busy.emplace(host());
    }
    std::optional<ProgressReporter> progress;
    if (showProgress) {
        progress.emplace(host(), "Rotating: ", int64_t(list.size()));
    }
    int64_t step = 0;
    for (TFormPiece* p : list) {
        TurnPiece(*p, baseTurns);
        if (progress) {
            progress->step(++step);
        }
    }
    if (progress && !busy) {
        host().setStatusText({});
    }
}

void TPieces::RandomTurns(const PieceList& list, bool showProgress) {
    for (TFormPiece* p : list) {
        if (!p->Joined) {
            p->PendingTurns = uint8_t(Rng.Random(4));
        }
    }
    RotatePieces(list, 0, showProgress);
}

void TPieces::ReapplyTurns(const PieceList& list, bool showProgress) {
    for (TFormPiece* p : list) {
        p->PendingTurns = uint8_t(p->Rotation & 3);
        p->Rotation = 0;
    }
    RotatePieces(list, 0, showProgress);
}

} // namespace zg
