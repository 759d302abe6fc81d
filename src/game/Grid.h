#pragma once

#include <cstdint>

namespace zg {

/// The grid a picture is cut into.
struct GridSize {
    uint16_t Cols = 0;
    uint16_t Rows = 0;
    int32_t CellSize = 0; ///< the cell size n the search settled on (8..513)

    uint32_t pieceCount() const { return uint32_t(Cols) * Rows; }
};

/// The largest number of pieces a puzzle may have.
constexpr uint32_t kMaxPieceCount = 65535;

/// Chooses the grid for a picture of width x height pixels and `requested`
/// pieces: the cell size n from 8 to 512 whose count of cells comes closest to
/// the request, taking the largest n among equally close ones.
/// @throws GiftDamagedError when the grid has no column or row, or more than
///         kMaxPieceCount pieces.
GridSize computeGrid(uint32_t width, uint32_t height, uint32_t requested);

} // namespace zg
