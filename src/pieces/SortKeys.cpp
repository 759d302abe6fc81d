#include "pieces/SortKeys.h"

#include "host/Host.h"
#include "pieces/ColorChain.h"
#include "pieces/PieceWorkers.h"

#include <utility>
#include <vector>

namespace zg {

uint8_t edgeClassOf(int32_t index, int32_t cols, int32_t count) {
    if (cols <= 0) {
        return kEdgeCorner;
    }
    const int32_t i = index;
    if (i == 0 || i == cols - 1 || i == count - 1 || i == count - cols) {
        return kEdgeCorner;
    }
    if (i < cols) {
        return kEdgeTop;
    }
    if (i % cols == cols - 1) {
        return kEdgeRight;
    }
    if (i > count - cols - 1) {
        return kEdgeBottom;
    }
    if (i % cols == 0) {
        return kEdgeLeft;
    }
    return kEdgeInterior;
}

namespace {

int32_t averageColor(const TFormPiece& p, const Bitmap24& picture) {
    uint64_t red = 0, green = 0, blue = 0, n = 0;
    for (int32_t v = 4; v < p.Height; v += 4) {
        const int64_t y = int64_t(p.HomeY) + v;
        if (y < 0 || y >= picture.height()) {
            continue;
        }
        const uint8_t* row = picture.row(int32_t(y));
        for (int32_t u = 4; u < p.Width; u += 4) {
            const int64_t x = int64_t(p.HomeX) + u;
            if (x < 0 || x >= picture.width()) {
                continue;
            }
            const uint8_t* px = row + std::size_t(x) * 3;
            blue += px[0];
            green += px[1];
            red += px[2];
            ++n;
        }
    }
    if (n == 0) {
        n = 1;
    }
    return int32_t((red / n) + (green / n) * 256 + (blue / n) * 65536);
}

template <typename T> int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

void computeColorKeys(const PieceList& pieces, const Bitmap24& picture, ProgressReporter* progress,
                      int32_t threads) {
    forEachPiece(int64_t(pieces.size()), threads, [&](int64_t i) {
        TFormPiece& p = *pieces[std::size_t(i)];
        p.ColorKey = averageColor(p, picture);
    });
    if (pieces.empty()) {
        return;
    }
    // The chain looks for each piece's nearest colour among the pieces not
    // yet chained; the index finds it without comparing against every one.
    std::vector<int32_t> keys;
    keys.reserve(pieces.size());
    for (const TFormPiece* p : pieces) {
        keys.push_back(p->ColorKey);
    }
    ColorChainIndex index(keys);
    int32_t current = 0;
    index.take(current);
    int32_t position = 0;
    for (;;) {
        const int32_t found = index.nearest(keys[std::size_t(current)]);
        pieces[std::size_t(current)]->ColorKey = kColorChainFlag + position;
        if (found < 0) {
            break;
        }
        ++position;
        index.take(found);
        if (progress) {
            progress->step(int64_t(position) + 1);
        }
        current = found;
    }
}

int comparePieces(const TFormPiece& a, const TFormPiece& b, int32_t mode) {
    switch (mode) {
    case 0:
        if (const int c = threeWay(a.GroupId, b.GroupId); c != 0) {
            return c;
        }
        return threeWay(a.Index, b.Index);
    case 1:
        return threeWay(a.EdgeClass, b.EdgeClass);
    case 2:
        return threeWay(a.ColorKey, b.ColorKey);
    case 3:
        if (const int c = threeWay(a.EdgeClass, b.EdgeClass); c != 0) {
            return c;
        }
        return threeWay(a.ColorKey, b.ColorKey);
    case 4:
        return threeWay(a.Stacking, b.Stacking);
    default:
        return 0;
    }
}

void sortPieces(PieceList& list, int32_t mode) {
    mode &= 0x7F;
    if (mode > 4 || list.size() < 2) {
        return;
    }
    const auto c = [&](int32_t a, int32_t b) {
        return comparePieces(*list[std::size_t(a)], *list[std::size_t(b)], mode);
    };
    // The classic middle-pivot quicksort, with the pivot followed through
    // swaps. Indices are 32-bit so that lists of any length sort. Instead of
    // recursing into the left part, pending right parts wait on an explicit
    // stack; the left part is still finished before its right part starts,
    // so the order of equal items is exactly that of the recursive form.
    std::vector<std::pair<int32_t, int32_t>> pending;
    pending.emplace_back(0, int32_t(list.size()) - 1);
    while (!pending.empty()) {
        auto [l, r] = pending.back();
        pending.pop_back();
        if (l >= r) {
            continue;
        }
        int32_t i = l;
        int32_t j = r;
        int32_t p = (l + r) / 2;
        do {
            // The bounds tests never fire for a consistent comparison; they
            // only keep a faulty one from reading outside the list.
            while (i < r && c(i, p) < 0) {
                ++i;
            }
            while (j > l && c(p, j) < 0) {
                --j;
            }
            if (i < j) {
                std::swap(list[std::size_t(i)], list[std::size_t(j)]);
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
        // Step 5 continues with [i, r] after [l, j] is done.
        if (i < r) {
            pending.emplace_back(i, r);
        }
        if (l < j) {
            pending.emplace_back(l, j);
        }
    }
}

} // namespace zg
