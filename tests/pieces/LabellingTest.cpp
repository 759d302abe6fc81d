#include "pieces/AtlasTooLargeError.h"
#include "pieces/PieceLabeller.h"
#include "pieces/TPieces.h"
#include "support/FakeHost.h"

#include "HandCutMap.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace zg {
namespace {

using test::drawSquareCut;

// The fill as the labelling rule states it, recursively, span by span. Used
// on small maps to check that the stack-based fill sets the same pixels and
// reaches the same span ends.
void referenceFill(CutMap& m, int32_t x, int32_t y, uint8_t v, FillExtent& e) {
    int32_t xl = x + 1;
    for (int32_t c = x; c >= 0 && m.at(c, y) == 0; --c) {
        m.at(c, y) = v;
        xl = c;
    }
    int32_t xr = x;
    for (int32_t c = x + 1; c < m.Width && m.at(c, y) == 0; ++c) {
        m.at(c, y) = v;
        xr = c;
    }
    e.MinX = std::min(e.MinX, xl);
    e.MaxX = std::max(e.MaxX, xr);
    e.MinY = std::min(e.MinY, y);
    e.MaxY = std::max(e.MaxY, y);
    if (y > 0) {
        for (int32_t c = xl; c <= xr; ++c) {
            if (m.at(c, y - 1) == 0) {
                referenceFill(m, c, y - 1, v, e);
            }
        }
    }
    if (y < m.Height - 1) {
        for (int32_t c = xl; c <= xr; ++c) {
            if (m.at(c, y + 1) == 0) {
                referenceFill(m, c, y + 1, v, e);
            }
        }
    }
}

TEST(Labelling, TwoByTwoSquareCutGivesTheExpectedBoxesAndSizes) {
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 100, 100, 2, 2);
    const std::vector<Rect> boxes = labelRegions(map, seeds, nullptr);
    ASSERT_EQ(boxes.size(), 4u);
    // The top-left piece takes in its top and left border and its own lower
    // and right edge; the bottom-right one only its bottom and right border.
    EXPECT_EQ(boxes[0], Rect::fromSize(0, 0, 51, 51));
    EXPECT_EQ(boxes[3], Rect::fromSize(50, 50, 50, 50));
    const AtlasSizes sizes = computeAtlasSizes(51, 2, 2);
    EXPECT_EQ(sizes.PieceHeight, 51);
    EXPECT_EQ(sizes.PieceWidth, 56);
    EXPECT_EQ(sizes.AtlasWidth, 112);
    EXPECT_EQ(sizes.AtlasHeight, 102);
    EXPECT_EQ(sizes.maskBytes(), 14u * 102u);
}

TEST(Labelling, StackFillMatchesTheSpanRecursionOnRandomMaps) {
    std::mt19937 gen(7);
    for (int round = 0; round < 200; ++round) {
        const int32_t w = 5 + int32_t(gen() % 40);
        const int32_t h = 5 + int32_t(gen() % 40);
        CutMap a;
        test::fillRandomLines(a, w, h, 20 + gen() % 40, gen);
        CutMap b = a;
        const Point seed{int32_t(gen() % unsigned(w)), int32_t(gen() % unsigned(h))};
        FillExtent expected{w, h, 0, 0};
        referenceFill(b, seed.X, seed.Y, 0x17, expected);
        const FillExtent got = fillRegion(a, seed, 0x17);
        ASSERT_EQ(a.Bytes, b.Bytes) << "round " << round;
        EXPECT_EQ(got.MinX, expected.MinX);
        EXPECT_EQ(got.MinY, expected.MinY);
        EXPECT_EQ(got.MaxX, expected.MaxX);
        EXPECT_EQ(got.MaxY, expected.MaxY);
    }
}

TEST(Labelling, SeedOnALineFillsOnlyWhatTheRightWalkReaches) {
    CutMap map;
    map.reset(30, 20);
    for (int32_t y = 0; y < 20; ++y) {
        map.at(10, y) = 0x11; // a wall through the seed
    }
    const FillExtent e = fillRegion(map, {10, 5}, 0x15);
    EXPECT_EQ(e.MinX, 11);
    EXPECT_EQ(e.MaxX, 29);
    EXPECT_EQ(map.at(9, 5), 0);
    EXPECT_EQ(map.at(11, 5), 0x15);
}

TEST(Labelling, EnclosedLineSeedStillGetsANinePixelBox) {
    CutMap map;
    map.reset(40, 40);
    for (uint8_t& b : map.Bytes) {
        b = 0x12;
    }
    const FillExtent e = fillRegion(map, {10, 10}, 0x15);
    // Nothing was set: the empty span starts right of the seed.
    EXPECT_EQ(e.MinX, 11);
    EXPECT_EQ(e.MaxX, 10);
    const Rect box = pieceBox(map, e, 0x15);
    EXPECT_EQ(box, Rect::fromSize(11, 10, 9, 9));
}

TEST(Labelling, DegenerateBoxAtTheFarBorderStaysOnThePicture) {
    CutMap map;
    map.reset(40, 40);
    for (uint8_t& b : map.Bytes) {
        b = 0x12;
    }
    // A seed on the last column would give a box starting past the picture.
    const FillExtent e = fillRegion(map, {39, 39}, 0x15);
    const Rect box = pieceBox(map, e, 0x15);
    EXPECT_TRUE(Rect(0, 0, 40, 40).contains(box)) << box.Left << "," << box.Top;
    EXPECT_FALSE(box.isEmpty());
    // A seed outside the map is taken to the nearest pixel.
    const Rect outside = pieceBox(map, fillRegion(map, {500, -3}, 0x15), 0x15);
    EXPECT_TRUE(Rect(0, 0, 40, 40).contains(outside));
}

TEST(Labelling, OnePixelWideSerpentineFillsWithoutRecursing) {
    // Vertical corridors one pixel wide, joined alternately at the top and
    // bottom: every span is a single pixel, so a recursive fill would nest
    // once per pixel of the path.
    const int32_t w = 1201, h = 1000;
    CutMap map;
    map.reset(w, h);
    for (int32_t x = 0; x < w; x += 2) {
        for (int32_t y = 0; y < h; ++y) {
            map.at(x, y) = 0x11;
        }
        if (x > 0 && x + 1 < w) {
            map.at(x, (x / 2) % 2 == 0 ? 1 : h - 2) = 0; // the gap to the next corridor
        }
    }
    for (int32_t x = 0; x < w; ++x) {
        map.at(x, 0) = 0x11;
        map.at(x, h - 1) = 0x11;
    }
    const FillExtent e = fillRegion(map, {1, h / 2}, 0x15);
    EXPECT_EQ(e.MinX, 1);
    EXPECT_EQ(e.MaxX, w - 2);
    EXPECT_EQ(e.MinY, 1);
    EXPECT_EQ(e.MaxY, h - 2);
    int64_t zeros = 0;
    for (uint8_t b : map.Bytes) {
        zeros += b == 0;
    }
    EXPECT_EQ(zeros, 0);
}

TEST(Labelling, BoxTakesInOwnLinesWithinAFifthButNotFurther) {
    CutMap map;
    map.reset(100, 100);
    for (int32_t y = 20; y <= 40; ++y) {
        for (int32_t x = 20; x <= 40; ++x) {
            map.at(x, y) = 0x15; // the fill: 21 x 21, margin 4
        }
    }
    map.at(44, 30) = 0x15; // within the margin
    map.at(30, 16) = 0x15;
    map.at(31, 15) = 0x15; // beyond it
    map.at(46, 30) = 0x15; // beyond it
    map.at(16, 16) = 0x16; // another pen
    const Rect box = pieceBox(map, {20, 20, 40, 40}, 0x15);
    EXPECT_EQ(box, (Rect{20, 16, 45, 41}));
}

TEST(Labelling, LabellingEqualsTheSpanRecursionCellByCell) {
    // Random line pixels and random seeds, many of them on lines, in areas a
    // neighbour filled already or with the same pen as a cell four steps
    // away: labelling every cell must set the same pixels and boxes as the
    // span recursion run for each cell in turn, whatever the thread count.
    std::mt19937 gen(11);
    for (int round = 0; round < 300; ++round) {
        const int32_t w = 6 + int32_t(gen() % 60);
        const int32_t h = 6 + int32_t(gen() % 45);
        CutMap map;
        test::fillRandomLines(map, w, h, 15 + gen() % 45, gen);
        SeedTable seeds;
        seeds.reset(1 + int32_t(gen() % 9), 1 + int32_t(gen() % 7));
        for (Point& p : seeds.Points) {
            p = {int32_t(gen() % uint32_t(w + 4)) - 2, int32_t(gen() % uint32_t(h + 4)) - 2};
        }
        CutMap expectedMap = map;
        std::vector<Rect> expectedBoxes;
        for (int32_t row = 0; row < seeds.Rows; ++row) {
            for (int32_t col = 0; col < seeds.Cols; ++col) {
                const uint8_t pen = cellPen(col, row);
                const Point seed{std::clamp(seeds.at(col, row).X, 0, w - 1),
                                 std::clamp(seeds.at(col, row).Y, 0, h - 1)};
                FillExtent e{w, h, 0, 0};
                referenceFill(expectedMap, seed.X, seed.Y, pen, e);
                expectedBoxes.push_back(pieceBox(expectedMap, e, pen));
            }
        }
        // Shared among threads too, the bands of rows and the pieces split.
        for (const int32_t threads : {1, 4}) {
            CutMap labelled = map;
            const std::vector<Rect> boxes = labelRegions(labelled, seeds, nullptr, nullptr, threads);
            ASSERT_EQ(labelled.Bytes, expectedMap.Bytes)
                << "round " << round << ", " << threads << " threads";
            ASSERT_EQ(boxes, expectedBoxes) << "round " << round << ", " << threads << " threads";
        }
    }
}

TEST(AtlasSizes, RoundPieceWidthToEightAndAtlasWidthToSixteen) {
    const AtlasSizes s = computeAtlasSizes(57, 3, 5);
    EXPECT_EQ(s.PieceWidth, 64);
    EXPECT_EQ(s.AtlasWidth, 192);
    EXPECT_EQ(s.AtlasHeight, 285);
    const AtlasSizes t = computeAtlasSizes(9, 3, 1);
    EXPECT_EQ(t.PieceWidth, 16);
    EXPECT_EQ(t.AtlasWidth, 48);
    EXPECT_EQ(computeAtlasSizes(9, 1, 1).AtlasWidth, 16);
}

TEST(AtlasSizes, MoreThan65535PixelsEitherWayIsRefused) {
    EXPECT_THROW(computeAtlasSizes(104, 631, 1), AtlasTooLargeError); // 65,624 wide
    EXPECT_THROW(computeAtlasSizes(8, 1, 8192), AtlasTooLargeError);  // 65,536 tall
    EXPECT_EQ(computeAtlasSizes(15, 1, 4369).AtlasHeight, 65535);
    // 8 * 8191 = 65,528 fits 16 bits, but rounding up to 16 does not.
    EXPECT_THROW(computeAtlasSizes(8, 8191, 1), AtlasTooLargeError);
    EXPECT_EQ(computeAtlasSizes(8, 8190, 1).AtlasWidth, 65520);
    // A side just below 65,536 rounds past it.
    EXPECT_THROW(computeAtlasSizes(65530, 1, 1), AtlasTooLargeError);
}

TEST(AtlasSizes, AtlasesBeyondTheMemoryCapAreRefused) {
    // 64,000 x 64,000 pixels fit 16 bits but would need about 12 GB.
    EXPECT_THROW(computeAtlasSizes(8000, 8, 8), AtlasTooLargeError);
    const AtlasSizes ok = computeAtlasSizes(1000, 10, 10);
    EXPECT_LE(ok.imageBytes() + int64_t(ok.maskBytes()), kMaxAtlasBytes);
}

TEST(AtlasSizes, GridWithoutCellsIsAnArgumentError) {
    EXPECT_THROW(computeAtlasSizes(10, 0, 3), std::invalid_argument);
}

TEST(Masks, ClearExactlyThePenPixelsOfEachBoxInItsCell) {
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 60, 40, 3, 2);
    const std::vector<Rect> boxes = labelRegions(map, seeds, nullptr);
    int64_t largest = 0;
    for (const Rect& b : boxes) {
        largest = std::max<int64_t>({largest, b.width(), b.height()});
    }
    const AtlasSizes sizes = computeAtlasSizes(largest, 3, 2);
    std::vector<uint8_t> buffer(2 * sizes.maskBytes(), 0xFF);
    writeMaskBits(map, boxes, 3, sizes, buffer, nullptr);
    const std::size_t stride = sizes.AtlasWidth / 8;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const int32_t col = int32_t(i % 3), row = int32_t(i / 3);
        const uint8_t pen = cellPen(col, row);
        for (int32_t y = 0; y < sizes.PieceHeight; ++y) {
            for (int32_t x = 0; x < sizes.PieceWidth; ++x) {
                const int32_t ax = col * sizes.PieceWidth + x, ay = row * sizes.PieceHeight + y;
                const bool clear =
                    (buffer[std::size_t(ay) * stride + std::size_t(ax / 8)] & (0x80 >> (ax % 8))) == 0;
                const Rect& b = boxes[i];
                const bool onPiece = x < b.width() && y < b.height() && map.at(b.Left + x, b.Top + y) == pen;
                ASSERT_EQ(clear, onPiece) << "piece " << i << " at " << x << "," << y;
            }
        }
    }
    // The second half of the buffer is left as it was.
    for (std::size_t k = sizes.maskBytes(); k < buffer.size(); ++k) {
        ASSERT_EQ(buffer[k], 0xFF);
    }
}

TEST(Masks, BufferSmallerThanOneAtlasIsRefused) {
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 40, 40, 2, 2);
    const std::vector<Rect> boxes = labelRegions(map, seeds, nullptr);
    const AtlasSizes sizes = computeAtlasSizes(21, 2, 2);
    std::vector<uint8_t> buffer(sizes.maskBytes() - 1, 0xFF);
    EXPECT_THROW(writeMaskBits(map, boxes, 2, sizes, buffer, nullptr), std::invalid_argument);
}

class LabelPiecesTest : public ::testing::Test {
protected:
    test::FakeHost host;
    TPieces pieces{host};
};

TEST_F(LabelPiecesTest, SetsTheRecordsAndTheSizes) {
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 100, 100, 2, 2);
    pieces.State.Cols = 2;
    pieces.State.Rows = 2;
    pieces.createRecords(4);
    EXPECT_EQ(pieces.labelPieces(map, seeds, nullptr), 14u * 102u);
    const TFormPiece& last = *pieces.Pieces[3];
    EXPECT_EQ(last.HomeX, 50);
    EXPECT_EQ(last.HomeY, 50);
    EXPECT_EQ(last.Width, 50);
    EXPECT_EQ(last.Height, 50);
    EXPECT_EQ(pieces.State.PieceHeight, 51);
    EXPECT_EQ(pieces.State.PieceWidth, 56);
    EXPECT_EQ(pieces.State.AtlasWidth, 112);
    EXPECT_EQ(pieces.State.AtlasHeight, 102);
}

TEST_F(LabelPiecesTest, RefusedCutLeavesPiecesAndSizesAsTheyWere) {
    // One piece 66,000 pixels tall cannot have an atlas cell.
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 12, 66000, 1, 1);
    pieces.State.Cols = 1;
    pieces.State.Rows = 1;
    pieces.State.PieceHeight = 7;
    pieces.createRecords(1);
    pieces.Pieces[0]->Width = 3;
    EXPECT_THROW(pieces.labelPieces(map, seeds, nullptr), AtlasTooLargeError);
    EXPECT_EQ(pieces.Pieces[0]->Width, 3);
    EXPECT_EQ(pieces.State.PieceHeight, 7);
    EXPECT_TRUE(pieces.ImageAtlas.isEmpty());
}

TEST_F(LabelPiecesTest, SeedTableOfAnotherGridIsRefused) {
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 100, 100, 2, 2);
    pieces.State.Cols = 3;
    pieces.State.Rows = 2;
    pieces.createRecords(6);
    EXPECT_THROW(pieces.labelPieces(map, seeds, nullptr), std::invalid_argument);
}

TEST_F(LabelPiecesTest, ExtractingProgressIsSharedByLabelsAndMasks) {
    CutMap map;
    SeedTable seeds;
    drawSquareCut(map, seeds, 200, 200, 5, 4);
    pieces.State.Cols = 5;
    pieces.State.Rows = 4;
    pieces.createRecords(20);
    ProgressReporter progress(host, "Extracting: ", 60);
    const uint32_t bytes = pieces.labelPieces(map, seeds, &progress);
    std::vector<uint8_t> buffer(2 * std::size_t(bytes), 0xFF);
    pieces.writeMasks(map, buffer, &progress);
    // One count of 3 x 20 steps: the percent never repeats or goes back, is
    // always a multiple of 5 and ends at 100.
    ASSERT_FALSE(host.statusTexts.empty());
    int last = -1;
    for (const std::string& t : host.statusTexts) {
        ASSERT_EQ(t.rfind("Extracting: ", 0), 0u) << t;
        const int percent = std::stoi(t.substr(12));
        EXPECT_EQ(percent % 5, 0) << t;
        EXPECT_GT(percent, last) << t;
        last = percent;
    }
    EXPECT_EQ(last, 100);
}

} // namespace
} // namespace zg
