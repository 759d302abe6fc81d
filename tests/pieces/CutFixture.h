#pragma once

// A picture cut with the real cutter and extracted into a piece set, shared
// by the extraction and drawing tests.

#include "pieces/Cutter.h"
#include "pieces/TPieces.h"
#include "support/FakeHost.h"

#include <vector>

namespace zg::test {

/// A picture of width x height cut with the real cutter and extracted into a
/// piece set of class `Pieces`, keeping the filled map for inspection.
template <class Pieces> struct CutAndExtractedAs {
    FakeHost host;
    Pieces pieces{host};
    CutMap filled;
    std::vector<uint8_t> buffer;

    CutAndExtractedAs(int32_t width, int32_t height, int32_t cols, int32_t rows, int32_t style,
                      int32_t oddness, uint32_t seed = 20240601) {
        SeedTable seeds;
        CutParams params;
        params.Width = width;
        params.Height = height;
        params.Cols = cols;
        params.Rows = rows;
        params.Style = style;
        params.Oddness = oddness;
        pieces.Rng.RandSeed = seed;
        cutPuzzle(filled, seeds, params, pieces.Rng, nullptr);
        pieces.State.Cols = uint16_t(cols);
        pieces.State.Rows = uint16_t(rows);
        pieces.createRecords(cols * rows);
        buffer.assign(2 * std::size_t(pieces.labelPieces(filled, seeds, nullptr)), 0xFF);
        pieces.writeMasks(filled, buffer, nullptr);
        // A picture whose every pixel differs from its neighbours, so that a
        // misplaced copy shows.
        pieces.Picture.resize(width, height);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                pieces.Picture.setPixel(x, y,
                                        rgb(uint8_t(x * 7 + 1), uint8_t(y * 13 + 1), uint8_t(x ^ y) | 1));
            }
        }
        pieces.buildAtlases(buffer);
    }

    /// How many piece masks cover each picture pixel.
    std::vector<int> coverage() const {
        std::vector<int> count(std::size_t(filled.Width) * std::size_t(filled.Height), 0);
        for (const TFormPiece* p : pieces.Pieces) {
            for (int32_t y = 0; y < p->Height; ++y) {
                for (int32_t x = 0; x < p->Width; ++x) {
                    if (!pieces.MaskAtlas.isWhite(p->CellX + x, p->CellY + y)) {
                        ++count[filled.index(p->HomeX + x, p->HomeY + y)];
                    }
                }
            }
        }
        return count;
    }
};

using CutAndExtracted = CutAndExtractedAs<TPieces>;

} // namespace zg::test
