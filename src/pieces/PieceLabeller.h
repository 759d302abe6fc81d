#pragma once

#include "gfx/Rect.h"
#include "pieces/CutMap.h"
#include "pieces/OpenRuns.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zg {

class ProgressReporter;

/// Largest number of bytes the image atlas and the mask atlas may take
/// together. A cut that would need more is refused before anything is
/// allocated (AtlasTooLargeError); 512 MiB is several times what the largest
/// sensible puzzle needs and still leaves room on a small machine.
constexpr int64_t kMaxAtlasBytes = int64_t(512) << 20;

/// The cell and atlas sizes of one cut, as kept in the game record.
struct AtlasSizes {
    uint16_t PieceHeight = 0; ///< S: the largest side of any piece box
    uint16_t PieceWidth = 0;  ///< S rounded up to a multiple of 8
    uint16_t AtlasWidth = 0;  ///< PieceWidth * cols rounded up to a multiple of 16
    uint16_t AtlasHeight = 0; ///< PieceHeight * rows

    /// Bytes of one mask atlas: AtlasWidth / 8 per row.
    uint32_t maskBytes() const { return uint32_t(AtlasWidth / 8) * AtlasHeight; }
    /// Bytes of the 24-bit image atlas with rows padded to 4 bytes.
    int64_t imageBytes() const { return ((int64_t(AtlasWidth) * 3 + 3) & ~int64_t(3)) * AtlasHeight; }

    friend bool operator==(const AtlasSizes&, const AtlasSizes&) = default;
};

/// Chooses the cell and atlas sizes for pieces whose largest side is
/// `largestSide` on a cols x rows grid. Products are taken in 64 bits.
/// @throws AtlasTooLargeError when a size exceeds 65,535 or the two atlases
///         together would need more than kMaxAtlasBytes.
/// @throws std::invalid_argument when cols or rows is below 1.
AtlasSizes computeAtlasSizes(int64_t largestSide, int32_t cols, int32_t rows);

/// The raw extent of one flood fill: the span ends the fill reached. For a fill
/// that set nothing this is the empty span of its start (MinX = x + 1, MaxX = x).
struct FillExtent {
    int32_t MinX = 0;
    int32_t MinY = 0;
    int32_t MaxX = 0;
    int32_t MaxY = 0;
};

/// Fills the region of 0 pixels around `seed` with `pen`, row span by row
/// span: on the seed row the fill walks left from the seed and right from the
/// pixel after it, then every span continues into the 0 pixels above and below
/// it. Uses an explicit stack, so a large piece cannot exhaust the call stack.
/// A seed outside the map is moved to the nearest map pixel first.
/// @pre the map is not empty.
FillExtent fillRegion(CutMap& map, Point seed, uint8_t pen);

/// The bounding box of a filled piece: the fill extent (made at least 9 pixels
/// wide and high when it is degenerate, but never beyond the map), widened by
/// every pixel of `pen` within a margin of a fifth of its size, which takes in
/// the piece's own cut lines. Always inside the map.
/// @pre the map is not empty.
Rect pieceBox(const CutMap& filled, const FillExtent& extent, uint8_t pen);

/// Fills and measures every piece of a cols x rows cut, rows outer and columns
/// inner, from the seed and with the pen of its grid cell. Returns the boxes
/// in piece index order (row * cols + col). Reports one progress step per
/// piece when `progress` is given. `runs`, when given and describing the map,
/// are its open runs as the cut left them; otherwise they are found here.
/// `threads` threads (1: only the calling one) share the work; the map and
/// the boxes are the same for any number.
/// @throws std::invalid_argument when the map is empty or the seed table does
///         not match the grid.
std::vector<Rect> labelRegions(CutMap& map, const SeedTable& seeds, ProgressReporter* progress,
                               const OpenRuns* runs = nullptr, int32_t threads = 1);

/// Clears, in `buffer` (rows of AtlasWidth / 8 bytes, a set bit is outside),
/// the mask bit of every pixel of each piece's box whose filled-map value is
/// the piece's pen, at the piece's cell ((i mod cols) * PieceWidth, (i div cols)
/// * PieceHeight). Reports steps count + 2 * (i + 1) when `progress` is given,
/// so that labelling and masks share one "Extracting: " count of 3 * count.
/// The pieces are shared among `threads` threads (see forEachPiece); each
/// writes only its own cell, whose rows start on whole bytes.
/// @throws std::invalid_argument, before any bit is written, when the buffer
///         is smaller than one mask atlas or a box lies outside the map or
///         does not fit its cell.
void writeMaskBits(const CutMap& filled, std::span<const Rect> boxes, int32_t cols, const AtlasSizes& sizes,
                   std::span<uint8_t> buffer, ProgressReporter* progress, int32_t threads = 1);

} // namespace zg
