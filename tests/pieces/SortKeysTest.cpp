#include "pieces/SortKeys.h"
#include "pieces/ColorChain.h"
#include "pieces/TPieces.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

namespace zg {
namespace {

/// Owned records with chosen keys, and a list of references to them.
struct Records {
    std::vector<std::unique_ptr<TFormPiece>> owned;
    PieceList list;

    TFormPiece& add() {
        owned.push_back(std::make_unique<TFormPiece>(int32_t(owned.size())));
        list.push_back(owned.back().get());
        return *owned.back();
    }
    std::vector<int32_t> order() const {
        std::vector<int32_t> out;
        for (const TFormPiece* p : list) {
            out.push_back(p->Index);
        }
        return out;
    }
};

// The sort procedure in its recursive form with the original's index
// arithmetic, to check that the stack-driven version leaves equal keys in the
// same order.
void recursiveSort(PieceList& l, int32_t lo, int32_t hi, int32_t mode) {
    const auto c = [&](int32_t a, int32_t b) {
        return comparePieces(*l[std::size_t(a)], *l[std::size_t(b)], mode);
    };
    int32_t i = lo;
    do {
        int32_t j = hi;
        int32_t p = (lo + hi) / 2;
        do {
            while (c(i, p) < 0) {
                ++i;
            }
            while (c(p, j) < 0) {
                --j;
            }
            if (i < j) {
                std::swap(l[std::size_t(i)], l[std::size_t(j)]);
                if (p == i) {
                    p = j;
                } else if (p == j) {
                    p = i;
                }
            }
            if (i <= j) {
                ++i;
                --j;
            }
        } while (i < j);
        if (lo < j) {
            recursiveSort(l, lo, j, mode);
        }
        lo = i;
    } while (lo < hi);
}

TEST(EdgeClass, ThreeByThreeGridHasCornersEdgesAndOneInterior) {
    std::vector<int> classes;
    for (int32_t i = 0; i < 9; ++i) {
        classes.push_back(edgeClassOf(i, 3, 9));
    }
    EXPECT_EQ(classes, (std::vector<int>{0, 1, 0, 4, 5, 2, 0, 3, 0}));
}

TEST(EdgeClass, SingleRowHasTwoCornersAndTopEdges) {
    std::vector<int> classes;
    for (int32_t i = 0; i < 5; ++i) {
        classes.push_back(edgeClassOf(i, 5, 5));
    }
    EXPECT_EQ(classes, (std::vector<int>{0, 1, 1, 1, 0}));
}

TEST(EdgeClass, AssignedForTheFirstPiecesOfTheSet) {
    test::FakeHost host;
    TPieces pieces(host);
    pieces.State.Cols = 3;
    pieces.createRecords(9);
    for (TFormPiece* p : pieces.Pieces) {
        p->EdgeClass = 9;
    }
    pieces.assignEdgeClasses(PieceList(pieces.Pieces.begin(), pieces.Pieces.begin() + 5));
    EXPECT_EQ(pieces.Pieces[4]->EdgeClass, kEdgeInterior);
    EXPECT_EQ(pieces.Pieces[3]->EdgeClass, kEdgeLeft);
    EXPECT_EQ(pieces.Pieces[5]->EdgeClass, 9);
}

/// Pieces side by side on a picture, each box filled with one colour.
struct ColorPuzzle {
    Bitmap24 picture;
    Records r;

    explicit ColorPuzzle(const std::vector<Color>& colors, int32_t side = 20)
        : picture(side * int32_t(colors.size()), side) {
        for (std::size_t i = 0; i < colors.size(); ++i) {
            TFormPiece& p = r.add();
            p.HomeX = int32_t(i) * side;
            p.Width = uint16_t(side);
            p.Height = uint16_t(side);
            picture.fill(Rect::fromSize(p.HomeX, 0, side, side), colors[i]);
        }
    }
};

TEST(ColorKeys, ChainVisitsNearestColoursInTurn) {
    // 0 is red; 2 is closest to it, then 1, then 3.
    ColorPuzzle c({rgb(200, 0, 0), rgb(150, 40, 0), rgb(190, 10, 0), rgb(100, 100, 0)});
    computeColorKeys(c.r.list, c.picture, nullptr);
    EXPECT_EQ(c.r.list[0]->ColorKey, kColorChainFlag + 0);
    EXPECT_EQ(c.r.list[2]->ColorKey, kColorChainFlag + 1);
    EXPECT_EQ(c.r.list[1]->ColorKey, kColorChainFlag + 2);
    EXPECT_EQ(c.r.list[3]->ColorKey, kColorChainFlag + 3);
}

TEST(ColorKeys, ChainStopsWhereEveryDistanceIs65535OrMore) {
    // White is 3 * 255^2 away from black; the grey at (147, 148, 148) is
    // 65,129 away from black, under the limit; (148, 148, 148) is 65,712 away.
    ColorPuzzle c({rgb(0, 0, 0), rgb(148, 148, 148), rgb(255, 255, 255)});
    computeColorKeys(c.r.list, c.picture, nullptr);
    EXPECT_EQ(c.r.list[0]->ColorKey, kColorChainFlag);
    EXPECT_EQ(c.r.list[1]->ColorKey, int32_t(rgb(148, 148, 148)));
    EXPECT_EQ(c.r.list[2]->ColorKey, int32_t(rgb(255, 255, 255)));

    ColorPuzzle near({rgb(0, 0, 0), rgb(147, 148, 148), rgb(255, 255, 255)});
    computeColorKeys(near.r.list, near.picture, nullptr);
    EXPECT_EQ(near.r.list[1]->ColorKey, kColorChainFlag + 1);
    EXPECT_EQ(near.r.list[2]->ColorKey, kColorChainFlag + 2);
}

TEST(ColorKeys, UnreachedPiecesSortBeforeChainedOnes) {
    ColorPuzzle c({rgb(0, 0, 0), rgb(255, 255, 255), rgb(2, 0, 0)});
    computeColorKeys(c.r.list, c.picture, nullptr);
    sortPieces(c.r.list, 2);
    EXPECT_EQ(c.r.order(), (std::vector<int32_t>{1, 0, 2}));
}

TEST(ColorKeys, TiesGoToTheFirstInIndexOrder) {
    ColorPuzzle c({rgb(100, 100, 100), rgb(110, 100, 100), rgb(90, 100, 100)});
    computeColorKeys(c.r.list, c.picture, nullptr);
    EXPECT_EQ(c.r.list[1]->ColorKey, kColorChainFlag + 1);
    EXPECT_EQ(c.r.list[2]->ColorKey, kColorChainFlag + 2);
}

TEST(ColorKeys, AverageSamplesEveryFourthPixelFromFourOn) {
    Bitmap24 picture(12, 12);
    picture.fill(rgb(200, 200, 200));
    picture.setPixel(4, 4, rgb(240, 200, 200)); // sampled
    picture.setPixel(8, 8, rgb(200, 200, 20));  // sampled
    picture.setPixel(0, 0, rgb(0, 0, 0));       // not sampled
    picture.setPixel(5, 4, rgb(0, 0, 0));       // not sampled
    Records r;
    TFormPiece& tiny = r.add(); // no sample lies inside a box 4 pixels wide: key 0
    tiny.Width = 4;
    tiny.Height = 12;
    TFormPiece& p = r.add();
    p.Width = 12;
    p.Height = 12;
    computeColorKeys(r.list, picture, nullptr);
    // The chain starts at the black key 0 of the tiny piece; the bright
    // average is too far away to be reached, so it stays as computed:
    // samples (4,4) (8,4) (4,8) (8,8) give red 840 / 4 and blue 620 / 4.
    EXPECT_EQ(r.list[0]->ColorKey, kColorChainFlag);
    EXPECT_EQ(r.list[1]->ColorKey, int32_t(rgb(210, 200, 155)));
}

TEST(ColorKeys, ProgressCountsChainLinks) {
    test::FakeHost host;
    TPieces pieces(host);
    pieces.createRecords(20);
    Bitmap24 picture(400, 20);
    for (int32_t i = 0; i < 20; ++i) {
        TFormPiece& p = *pieces.Pieces[std::size_t(i)];
        p.HomeX = i * 20;
        p.Width = 20;
        p.Height = 20;
        picture.fill(Rect::fromSize(p.HomeX, 0, 20, 20), rgb(uint8_t(i * 5), 0, 0));
    }
    pieces.computeColorKeys(picture);
    ASSERT_GE(host.statusTexts.size(), 2u);
    EXPECT_EQ(host.statusTexts.front(), "Sorting colors: 10%");
    EXPECT_EQ(host.statusTexts[host.statusTexts.size() - 2], "Sorting colors: 100%");
    EXPECT_EQ(host.statusTexts.back(), "");
    EXPECT_EQ(host.cursor(), CursorShape::Default);
}

TEST(Sort, EmptyListAndUnknownModesChangeNothing) {
    PieceList empty;
    sortPieces(empty, 0);
    EXPECT_TRUE(empty.empty());
    Records r;
    for (int i = 0; i < 5; ++i) {
        r.add().GroupId = 5 - i;
    }
    sortPieces(r.list, 5);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    sortPieces(r.list, 0x7F);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    // Only the low 7 bits select: 0x80 is mode 0.
    sortPieces(r.list, 0x80);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{4, 3, 2, 1, 0}));
}

TEST(Sort, EqualKeysEndInTheQuicksortsOrder) {
    // Edge classes 1, 0, 1, 0. Worked by hand: the first pass swaps items 0
    // and 3 around the pivot at 1, the right part [2, 3] swaps once more.
    Records r;
    for (uint8_t k : {1, 0, 1, 0}) {
        r.add().EdgeClass = k;
    }
    sortPieces(r.list, 1);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{3, 1, 0, 2}));
}

TEST(Sort, ModesUseTheirKeys) {
    Records r;
    const int32_t groups[] = {2, 1, 2, 1};
    const uint8_t edges[] = {5, 0, 0, 5};
    const int32_t colors[] = {3, 4, 1, 2};
    const uint16_t stacks[] = {40000, 100, 65534, 7};
    for (int i = 0; i < 4; ++i) {
        TFormPiece& p = r.add();
        p.GroupId = groups[i];
        p.EdgeClass = edges[i];
        p.ColorKey = colors[i];
        p.Stacking = stacks[i];
    }
    sortPieces(r.list, 0);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{1, 3, 0, 2}));
    sortPieces(r.list, 3);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{2, 1, 3, 0}));
    sortPieces(r.list, 2);
    EXPECT_EQ(r.order(), (std::vector<int32_t>{2, 3, 0, 1}));
    sortPieces(r.list, 4); // compared unsigned: 65,534 last
    EXPECT_EQ(r.order(), (std::vector<int32_t>{3, 1, 0, 2}));
}

TEST(Sort, StackVersionLeavesTiesLikeTheRecursiveForm) {
    std::mt19937 gen(11);
    for (int round = 0; round < 300; ++round) {
        Records r;
        const int n = 1 + int(gen() % 60);
        for (int i = 0; i < n; ++i) {
            TFormPiece& p = r.add();
            p.EdgeClass = uint8_t(gen() % 3);
            p.ColorKey = int32_t(gen() % 4);
            p.GroupId = int32_t(gen() % 5);
        }
        const int32_t mode = int32_t(gen() % 4);
        PieceList expected = r.list;
        recursiveSort(expected, 0, n - 1, mode);
        sortPieces(r.list, mode);
        ASSERT_EQ(r.list, expected) << "round " << round;
    }
}

TEST(Sort, ListsLongerThan32767ItemsSort) {
    Records r;
    std::mt19937 gen(3);
    for (int i = 0; i < 40000; ++i) {
        r.add().Stacking = uint16_t(gen() % 65535);
    }
    sortPieces(r.list, 4);
    for (std::size_t i = 1; i < r.list.size(); ++i) {
        ASSERT_LE(r.list[i - 1]->Stacking, r.list[i]->Stacking);
    }
}

} // namespace
} // namespace zg

namespace zg {
namespace {

/// The colour chain as a plain scan of every unchained piece in index order.
std::vector<int32_t> scannedChain(std::vector<int32_t> keys) {
    const auto distance = [](int32_t a, int32_t b) {
        const int32_t dr = (a & 0xFF) - (b & 0xFF);
        const int32_t dg = ((a >> 8) & 0xFF) - ((b >> 8) & 0xFF);
        const int32_t db = ((a >> 16) & 0xFF) - ((b >> 16) & 0xFF);
        return dr * dr + dg * dg + db * db;
    };
    std::vector<bool> chained(keys.size(), false);
    std::vector<int32_t> out = keys;
    std::size_t current = 0;
    chained[0] = true;
    for (int32_t position = 0;; ++position) {
        int32_t best = 65535;
        std::size_t found = keys.size();
        for (std::size_t j = 0; j < keys.size(); ++j) {
            if (!chained[j] && distance(keys[current], keys[j]) < best) {
                best = distance(keys[current], keys[j]);
                found = j;
            }
        }
        out[current] = kColorChainFlag + position;
        if (found == keys.size()) {
            return out;
        }
        chained[found] = true;
        current = found;
    }
}

TEST(ColorKeys, ChainMatchesAScanOfEveryPieceOnClustersDuplicatesAndOutliers) {
    // Pieces in tight clusters (many equal keys), spread over the cube, and
    // a few far outliers the chain may never reach.
    std::mt19937 rng(7);
    std::vector<Color> colors;
    const Color centres[] = {rgb(20, 30, 200), rgb(128, 128, 128), rgb(250, 250, 10), rgb(16, 16, 16)};
    for (int i = 0; i < 1500; ++i) {
        const Color c = centres[rng() % 4];
        const auto jitter = [&](uint8_t v) {
            return uint8_t(std::clamp(int(v) + int(rng() % 9) - 4, 0, 255));
        };
        colors.push_back(rgb(jitter(redOf(c)), jitter(greenOf(c)), jitter(blueOf(c))));
        if (i % 7 == 0) {
            colors.push_back(rgb(uint8_t(rng()), uint8_t(rng()), uint8_t(rng())));
        }
        if (i % 250 == 0) {
            colors.push_back(i % 500 == 0 ? rgb(255, 255, 255) : rgb(0, 0, 0));
        }
    }
    ColorPuzzle c(colors, 8);
    std::vector<int32_t> averages;
    for (const Color col : colors) {
        averages.push_back(int32_t(col));
    }
    computeColorKeys(c.r.list, c.picture, nullptr);
    const std::vector<int32_t> expected = scannedChain(averages);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        ASSERT_EQ(c.r.list[i]->ColorKey, expected[i]) << i;
    }
}

} // namespace
} // namespace zg

namespace zg {
namespace {

// The index must answer exactly as a scan of every colour not yet taken, in
// index order, keeping the first strictly nearer one below 65,535. Colours
// clustered (as in a photograph), spread thin and repeated, taken in the
// order the chain takes them.
TEST(ColorChain, IndexAnswersAsAScanOfEveryColour) {
    std::mt19937 rng(7);
    for (const int32_t spread : {6, 40, 255}) {
        std::vector<int32_t> keys;
        for (int32_t i = 0; i < 3000; ++i) {
            const auto channel = [&](int32_t centre) {
                return std::clamp(centre + int32_t(rng() % uint32_t(2 * spread + 1)) - spread, 0, 255);
            };
            const int32_t centre = i % 7 == 0 ? 30 : 200;
            keys.push_back(channel(centre) | channel(centre / 2) << 8 | channel(255 - centre) << 16);
        }
        keys[10] = keys[20] = keys[30]; // equal colours
        ColorChainIndex index(keys);
        std::vector<bool> taken(keys.size(), false);
        int32_t current = 0;
        index.take(current);
        taken[0] = true;
        for (;;) {
            int32_t expected = -1;
            int32_t best = 65535;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                const int32_t d = ColorChainIndex::distance(keys[std::size_t(current)], keys[i]);
                if (!taken[i] && d < best) {
                    best = d;
                    expected = int32_t(i);
                }
            }
            const int32_t found = index.nearest(keys[std::size_t(current)]);
            ASSERT_EQ(found, expected) << "spread " << spread << " after " << current;
            if (found < 0) {
                break;
            }
            index.take(found);
            taken[std::size_t(found)] = true;
            current = found;
        }
    }
}

} // namespace
} // namespace zg
