#include "game/TJigsaw.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zg {
namespace {

Bitmap24 makePicture(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 3), uint8_t(y * 5), uint8_t((x * y) >> 3)));
        }
    }
    return b;
}

/// Everything a build leaves behind that the pieces are drawn and sorted
/// from, plus what the user saw while it ran.
struct BuildResult {
    std::vector<int64_t> sizes;
    std::vector<int32_t> pieceFields;
    std::vector<std::vector<uint8_t>> sprites;
    Bitmap24 images;
    Bitmap1 masks;
    std::vector<uint8_t> outlineData;
    std::vector<std::string> statusTexts;
    CursorShape cursor = CursorShape::Default;
    friend bool operator==(const BuildResult&, const BuildResult&) = default;
};

BuildResult resultOf(const TJigsaw& jig, const test::FakeHost& host) {
    BuildResult r;
    const TGameState& s = jig.State;
    r.sizes = {s.Cols,        s.Rows,        s.PieceCount,   s.PieceWidth,     s.PieceHeight, s.AtlasWidth,
               s.AtlasHeight, s.ScaledWidth, s.ScaledHeight, s.MaskBufferSize, s.ScalePercent};
    for (const TFormPiece* p : jig.Pieces) {
        r.pieceFields.insert(r.pieceFields.end(), {p->HomeX, p->HomeY, p->Width, p->Height, p->CellX,
                                                   p->CellY, p->ColorKey, p->Rotation, p->PendingTurns});
        r.sprites.push_back(p->OutlineSprite);
        r.sprites.push_back(p->WoodSprite);
    }
    r.images = jig.ImageAtlas;
    r.masks = jig.MaskAtlas;
    r.outlineData = jig.OutlineData;
    r.statusTexts = host.statusTexts;
    r.cursor = host.cursor();
    return r;
}

struct Shape {
    int32_t width;
    int32_t height;
    int32_t pieces;
};

class ParallelBuildTest : public ::testing::Test {
protected:
    /// Builds a puzzle with `threads` threads, then rescales it to 70 %
    /// with its pieces turned.
    static std::pair<BuildResult, BuildResult> build(int32_t threads, int32_t style, int32_t oddness,
                                                     const Shape& shape) {
        test::FakeHost host;
        TJigsaw jig(host);
        jig.WorkerThreads = threads;
        jig.State.Version = 5;
        jig.State.RequestedPieces = int16_t(shape.pieces);
        jig.State.Seed = 24680 + style;
        jig.State.Style = style;
        jig.State.Oddness = uint16_t(oddness);
        jig.Config.BoardWidth = 800;
        jig.Config.BoardHeight = 600;
        // Every outline (none, paper, card, wood) across the styles, so that
        // the shading built with each cell is compared too.
        jig.Config.OutlineStyle = style % 4;
        jig.BuildPuzzle(makePicture(shape.width, shape.height));
        const BuildResult built = resultOf(jig, host);
        // Pieces lying in every turn, so that the rescale turns most of
        // them again, side by side on several threads.
        for (TFormPiece* p : jig.Pieces) {
            p->Rotation = uint8_t(p->Index % 4);
        }
        EXPECT_TRUE(jig.Rescale(70));
        return {built, resultOf(jig, host)};
    }
};

TEST_F(ParallelBuildTest, EveryThreadCountBuildsAndRescalesTheSameBytes) {
    const Shape shapes[] = {{300, 220, 30}, {600, 60, 10}, {60, 600, 10}};
    for (const Shape& shape : shapes) {
        for (int32_t style = kStyleClassic; style <= kStyleMix; ++style) {
            for (const int32_t oddness : {0, 10}) {
                SCOPED_TRACE(std::to_string(shape.width) + " x " + std::to_string(shape.height) + " style " +
                             std::to_string(style) + " oddness " + std::to_string(oddness));
                const auto serial = build(1, style, oddness, shape);
                const auto parallel = build(4, style, oddness, shape);
                ASSERT_FALSE(serial.first.images.isEmpty());
                // The shading is really there to compare: outline sprites for
                // every outline but none, side faces for wood.
                bool outlines = false;
                bool sides = false;
                for (std::size_t k = 0; k < serial.first.sprites.size(); k += 2) {
                    outlines = outlines || !serial.first.sprites[k].empty();
                    sides = sides || !serial.first.sprites[k + 1].empty();
                }
                EXPECT_EQ(outlines, style % 4 != 0);
                EXPECT_EQ(sides, style % 4 == 3);
                EXPECT_TRUE(serial.first == parallel.first);
                EXPECT_TRUE(serial.second == parallel.second);
            }
        }
    }
    // The thin shapes really are one row and one column.
    test::FakeHost host;
    TJigsaw row(host);
    row.State.RequestedPieces = 10;
    row.BuildPuzzle(makePicture(600, 60));
    EXPECT_EQ(row.State.Rows, 1);
    TJigsaw column(host);
    column.State.RequestedPieces = 10;
    column.BuildPuzzle(makePicture(60, 600));
    EXPECT_EQ(column.State.Cols, 1);
}

TEST_F(ParallelBuildTest, RefusedRescaleLeavesThePuzzleAsTheSerialBuildDoes) {
    std::vector<BuildResult> before;
    std::vector<BuildResult> after;
    for (const int32_t threads : {1, 4}) {
        test::FakeHost host;
        TJigsaw jig(host);
        jig.WorkerThreads = threads;
        jig.State.Version = 5;
        jig.State.RequestedPieces = 333;
        jig.State.Seed = 13579;
        jig.State.Style = kStyleClassic;
        jig.Config.BoardWidth = 800;
        jig.Config.BoardHeight = 600;
        jig.BuildPuzzle(makePicture(60, 20000));
        host.statusTexts.clear();
        before.push_back(resultOf(jig, host));
        EXPECT_THROW(jig.Rescale(300), AtlasTooLargeError);
        after.push_back(resultOf(jig, host));
        EXPECT_EQ(host.cursor(), CursorShape::Default);
        EXPECT_EQ(host.statusTexts.back(), "");
    }
    EXPECT_TRUE(before[0] == before[1]);
    EXPECT_TRUE(after[0] == after[1]);
    EXPECT_TRUE(after[0].images == before[0].images);
    EXPECT_TRUE(after[0].pieceFields == before[0].pieceFields);
}

} // namespace
} // namespace zg
