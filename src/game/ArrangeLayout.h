#pragma once

#include "gfx/Rect.h"

#include <cstdint>
#include <vector>

namespace zg {

/// The cells of the edge layout: rings of cells laid from the outside in,
/// clockwise from the top-left corner, around a middle hole about the size of
/// the picture.
struct EdgeLayout {
    int32_t CellSize = 0; ///< the square cell size the stop test chose (i)
    int32_t Cols = 0;     ///< cells across the area
    int32_t Rows = 0;     ///< cells down the area
    int32_t BandX = 0;    ///< columns of the left and right bands together (tx)
    int32_t BandY = 0;    ///< rows of the top and bottom bands together (ty)
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
};

/// Chooses the edge layout for `count` pieces in an area of `width` x
/// `height` pixels, for pieces `pieceWidth` wide and a picture of
/// `scaledWidth` x `scaledHeight`: the largest cell size from 5/4 of the piece
/// width down to 1 whose rings hold every piece. Cols and Rows are 0 when no
/// cell size gives at least one column and one row.
EdgeLayout chooseEdgeLayout(int32_t width, int32_t height, int32_t pieceWidth, int32_t scaledWidth,
                            int32_t scaledHeight, int32_t count);

/// The top-left corners, relative to the area, of the first `count` cells of
/// `layout` in ring order. With no columns or rows every cell is (0, 0).
std::vector<Point> edgeCells(const EdgeLayout& layout, int32_t count);

/// The grid layout's square cell size and column count for `count` pieces in
/// an area of `width` x `height` pixels, starting from 3/2 of the piece width:
/// the largest size whose rows hold every piece, at least 1, with at least
/// one column.
struct GridLayout {
    int32_t CellSize = 1;
    int32_t Cols = 1;
};
GridLayout chooseGridLayout(int32_t width, int32_t height, int32_t pieceWidth, int32_t count);

} // namespace zg
