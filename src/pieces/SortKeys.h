#pragma once

#include "gfx/Bitmap24.h"
#include "pieces/TFormPiece.h"

#include <cstdint>

namespace zg {

class ProgressReporter;

/// Shape classes of EdgeClass.
enum EdgeClassValue : uint8_t {
    kEdgeCorner = 0,
    kEdgeTop = 1,
    kEdgeRight = 2,
    kEdgeBottom = 3,
    kEdgeLeft = 4,
    kEdgeInterior = 5,
};

/// The shape class of piece `index` on a grid of `cols` columns and `count`
/// pieces, tested in this order: corner (first or last of the top or bottom
/// row), top row, right column, bottom row, left column, interior.
/// A grid without columns gives kEdgeCorner.
uint8_t edgeClassOf(int32_t index, int32_t cols, int32_t count);

/// Bit 30 marks a ColorKey that holds a position in the colour chain.
constexpr int32_t kColorChainFlag = 0x40000000;

/// Computes ColorKey for `pieces` (in index order) from `picture`: first each
/// piece's average colour as 0x00BBGGRR, sampled every fourth pixel of its
/// box from (4, 4) on; then, starting at piece 0, chains each piece to the
/// nearest unchained colour (squared RGB distance below 65,535, the first in
/// index order on ties) and replaces every chained key by 0x40000000 plus its
/// chain position. Pieces the chain never reaches keep their average colour.
/// Reports step position + 1 of the piece count for every link when
/// `progress` is given. Samples outside the picture are skipped. The
/// averages are shared among `threads` threads; the chain runs on the calling
/// thread.
void computeColorKeys(const PieceList& pieces, const Bitmap24& picture, ProgressReporter* progress,
                      int32_t threads = 1);

/// Compares two pieces for sort `mode` (0 GroupId then Index, 1 EdgeClass,
/// 2 ColorKey, 3 EdgeClass then ColorKey, 4 Stacking unsigned): negative when
/// a sorts first, 0 on a tie. Other modes compare equal.
int comparePieces(const TFormPiece& a, const TFormPiece& b, int32_t mode);

/// Sorts `list` in place by `mode` (only its low 7 bits count; modes other
/// than 0..4 leave the list unchanged) with the game's own quicksort, whose
/// order among equal keys is part of the behaviour: arranging lays pieces out
/// in exactly this order.
void sortPieces(PieceList& list, int32_t mode);

} // namespace zg
