// Turning pieces by quarter turns: each turned piece's atlas cells are
// turned once, so drawing a turned piece costs no more than an upright one.
#include "pieces/TPieces.h"

#include "gfx/RasterOps.h"
#include "host/Host.h"
#include "pieces/PieceWorkers.h"
#include "pieces/TRotate.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace zg {

void TPieces::TurnPiece(TFormPiece& piece, int32_t baseTurns) {
    turnPieceWith(piece, baseTurns, TurnImage, TurnMask);
}

void TPieces::turnPieceWith(TFormPiece& piece, int32_t baseTurns, Bitmap24& scratchImage,
                            Bitmap1& scratchMask) {
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
    if (scratchImage.width() < side || scratchImage.height() < side) {
        scratchImage.resize(side, side);
    }
    if (scratchMask.width() < side || scratchMask.height() < side) {
        scratchMask.resize(side, side);
    }
    // A piece still drawn from the picture gets its image into its cell
    // first: from now on the cell holds it turned.
    drawImageCell(piece);
    const Rect cell = Rect::fromSize(piece.CellX, piece.CellY, piece.Width, piece.Height);
    const Rect result{0, 0, turned.X, turned.Y};
    TRotate::turn(ImageAtlas, cell, scratchImage, {0, 0}, t);
    TRotate::turn(MaskAtlas, cell, scratchMask, {0, 0}, t);
    copyRect(ImageAtlas, piece.CellX, piece.CellY, scratchImage, result);
    copyRect(MaskAtlas, piece.CellX, piece.CellY, scratchMask, result);
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
    // Every turn is checked first: a piece that would not fit its cell stops
    // the list before any piece has turned.
    for (const TFormPiece* p : list) {
        const int32_t t = (baseTurns + p->PendingTurns) & 3;
        const Point turned = TRotate::turnedSize(p->Width, p->Height, t);
        if (t != 0 && (turned.X > State.PieceWidth || turned.Y > State.PieceHeight)) {
            throw std::logic_error("a turned piece does not fit its cell");
        }
    }
    if (turnsApart(list)) {
        // Each piece touches only its own record and its own cells (whole
        // mask bytes apart), so pieces turn side by side, each thread with
        // scratch bitmaps of its own.
        forEachPiece(
            int64_t(list.size()), WorkerThreads,
            [&](int64_t i) {
                thread_local Bitmap24 image;
                thread_local Bitmap1 mask;
                turnPieceWith(*list[std::size_t(i)], baseTurns, image, mask);
            },
            [&](int64_t done) {
                if (progress) {
                    progress->step(done);
                }
            });
    } else {
        int64_t step = 0;
        for (TFormPiece* p : list) {
            TurnPiece(*p, baseTurns);
            if (progress) {
                progress->step(++step);
            }
        }
    }
    if (progress && !busy) {
        host().setStatusText({});
    }
}

bool TPieces::turnsApart(const PieceList& list) const {
    if (list.size() < 2 || WorkerThreads < 2 || State.PieceWidth % 8 != 0) {
        return false;
    }
    std::vector<bool> listed(Pieces.size(), false);
    for (const TFormPiece* p : list) {
        const TFormPiece* own = pieceAt(p->Index);
        if (own != p || listed[std::size_t(p->Index)]) {
            return false; // not one of ours, or listed twice
        }
        listed[std::size_t(p->Index)] = true;
        if (p->CellX % 8 != 0) {
            return false;
        }
    }
    return true;
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
