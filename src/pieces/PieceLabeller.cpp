#include "pieces/PieceLabeller.h"

#include "host/Host.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/ByteRuns.h"
#include "pieces/CutBands.h"
#include "pieces/OpenRuns.h"
#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zg {

namespace {

using namespace byteruns;

/// Bit 7 - b for every byte b of `highBits` (as made by zeroBytes) that is
/// set: byte order is pixel order, and the mask rows keep the leftmost pixel
/// in the most significant bit.
uint8_t gatherBits(uint64_t highBits) {
    return uint8_t((((highBits >> 7) & kOnes) * 0x8040201008040201ull) >> 56);
}

/// Every byte with its bits in reverse order: a vector compare gives the
/// first pixel in the lowest bit, the mask rows want it in the highest.
constexpr std::array<uint8_t, 256> kReversedBits = [] {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int r = 0;
        for (int b = 0; b < 8; ++b) {
            r |= ((v >> b) & 1) << (7 - b);
        }
        table[std::size_t(v)] = uint8_t(r);
    }
    return table;
}();

/// The first column at or after `from` whose byte is not 0, or `end`.
int32_t skipZeros(const uint8_t* row, int32_t from, int32_t end) {
    return int32_t(findOtherByte(row, std::size_t(from), std::size_t(end), 0));
}

/// The first column at or after `from` whose byte is 0, or `end`.
int32_t skipNonZeros(const uint8_t* row, int32_t from, int32_t end) {
    return int32_t(findByte(row, std::size_t(from), std::size_t(end), 0));
}

/// The leftmost column of the run of 0 bytes that ends at `from` (inclusive),
/// or from + 1 when row[from] is not 0.
int32_t zeroRunStart(const uint8_t* row, int32_t from) {
    return int32_t(runStart(row, 0, std::size_t(from), 0));
}

/// Sets bits first .. last of a row of bits, bit x in byte x / 8 at x % 8.
void markRange(uint8_t* row, int32_t first, int32_t last) {
    const auto from = std::size_t(first);
    const auto to = std::size_t(last);
    const std::size_t a = from / 8;
    const std::size_t b = to / 8;
    const auto head = uint8_t(0xFFu << (from % 8));
    const auto tail = uint8_t(0xFFu >> (7 - to % 8));
    if (a == b) {
        row[a] = uint8_t(row[a] | (head & tail));
        return;
    }
    row[a] = uint8_t(row[a] | head);
    if (b > a + 1) {
        std::memset(row + a + 1, 0xFF, b - a - 1);
    }
    row[b] = uint8_t(row[b] | tail);
}

} // namespace

AtlasSizes computeAtlasSizes(int64_t largestSide, int32_t cols, int32_t rows) {
    if (cols < 1 || rows < 1) {
        throw std::invalid_argument("a puzzle needs at least one column and one row");
    }
    const int64_t side = std::max<int64_t>(largestSide, 0);
    const int64_t pieceWidth = (side + 7) & ~int64_t(7);
    const int64_t atlasWidth = (pieceWidth * cols + 15) & ~int64_t(15);
    const int64_t atlasHeight = side * rows;
    if (pieceWidth > UINT16_MAX || atlasWidth > UINT16_MAX || atlasHeight > UINT16_MAX) {
        throw AtlasTooLargeError("the piece atlas would be " + std::to_string(atlasWidth) + " x " +
                                 std::to_string(atlasHeight) + " pixels");
    }
    AtlasSizes sizes;
    sizes.PieceHeight = uint16_t(side);
    sizes.PieceWidth = uint16_t(pieceWidth);
    sizes.AtlasWidth = uint16_t(atlasWidth);
    sizes.AtlasHeight = uint16_t(atlasHeight);
    if (sizes.imageBytes() + int64_t(sizes.maskBytes()) > kMaxAtlasBytes) {
        throw AtlasTooLargeError("the piece atlases would need " +
                                 std::to_string(sizes.imageBytes() + int64_t(sizes.maskBytes())) + " bytes");
    }
    return sizes;
}

FillExtent fillRegion(CutMap& map, Point seed, uint8_t pen) {
    const int32_t w = map.Width;
    const int32_t h = map.Height;
    FillExtent e{w, h, 0, 0};
    if (w <= 0 || h <= 0 || pen == 0) {
        return e;
    }
    uint8_t* const bytes = map.Bytes.data();
    std::vector<Point> stack;
    stack.push_back({std::clamp(seed.X, 0, w - 1), std::clamp(seed.Y, 0, h - 1)});
    bool first = true;
    while (!stack.empty()) {
        const Point p = stack.back();
        stack.pop_back();
        uint8_t* const row = bytes + std::size_t(p.Y) * std::size_t(w);
        // A pending start that a neighbouring span has filled in the meantime
        // belongs to that span's run already. Only the very first span may be
        // empty: its start pixel can be a line pixel.
        if (!first && row[p.X] != 0) {
            continue;
        }
        first = false;
        // The left walk sets the run of 0 pixels ending at the start pixel, the
        // right walk the run beginning just after it.
        const int32_t xl = zeroRunStart(row, p.X);
        const int32_t xr = skipZeros(row, p.X + 1, w) - 1;
        if (xl <= p.X) {
            std::memset(row + xl, pen, std::size_t(p.X - xl + 1));
        }
        if (xr > p.X) {
            std::memset(row + p.X + 1, pen, std::size_t(xr - p.X));
        }
        e.MinX = std::min(e.MinX, xl);
        e.MaxX = std::max(e.MaxX, xr);
        e.MinY = std::min(e.MinY, p.Y);
        e.MaxY = std::max(e.MaxY, p.Y);
        // Continue into every run of 0 pixels touching the span from above and
        // below; one start per run is enough since a span takes its whole run.
        const auto pushRuns = [&](int32_t y) {
            const uint8_t* r = bytes + std::size_t(y) * std::size_t(w);
            int32_t c = xl;
            while (c <= xr) {
                c = skipNonZeros(r, c, xr + 1);
                if (c > xr) {
                    break;
                }
                stack.push_back({c, y});
                c = skipZeros(r, c, xr + 1);
            }
        };
        if (p.Y < h - 1) {
            pushRuns(p.Y + 1);
        }
        if (p.Y > 0) {
            pushRuns(p.Y - 1);
        }
    }
    return e;
}

namespace {

/// pieceBox, counting a pixel of `pen` outside the fill extent only when
/// counts(x, y) says so.
template <class Counts>
Rect boxOfPiece(const CutMap& filled, const FillExtent& extent, uint8_t pen, Counts&& counts) {
    const int64_t w = filled.Width;
    const int64_t h = filled.Height;
    int64_t minX = extent.MinX, minY = extent.MinY, maxX = extent.MaxX, maxY = extent.MaxY;
    if (maxX <= minX) {
        maxX = minX + 8;
    }
    if (maxY <= minY) {
        maxY = minY + 8;
    }
    // A degenerate fill next to the right or bottom border would reach past
    // the map; keep the box on the picture so that nothing reads outside it.
    minX = std::clamp<int64_t>(minX, 0, w - 1);
    minY = std::clamp<int64_t>(minY, 0, h - 1);
    maxX = std::clamp<int64_t>(maxX, minX, w - 1);
    maxY = std::clamp<int64_t>(maxY, minY, h - 1);

    const int64_t mx = (maxX - minX + 1) * 20 / 100;
    const int64_t my = (maxY - minY + 1) * 20 / 100;
    const int64_t wx0 = std::max<int64_t>(0, minX - mx);
    const int64_t wx1 = std::min<int64_t>(w - 1, maxX + mx);
    const int64_t wy0 = std::max<int64_t>(0, minY - my);
    const int64_t wy1 = std::min<int64_t>(h - 1, maxY + my);

    // The margins lie on many rows far apart in memory: asking for all of
    // them first lets the memory fetch them side by side.
    for (int64_t y = wy0; y <= wy1; ++y) {
        const uint8_t* r = filled.Bytes.data() + std::size_t(y) * std::size_t(w);
        __builtin_prefetch(r + wx0);
        __builtin_prefetch(r + wx1);
    }
    // Pixels inside the box cannot widen it, so only the margins are scanned.
    int64_t left = minX, top = minY, right = maxX, bottom = maxY;
    const auto scan = [&](int64_t y, int64_t x0, int64_t x1) {
        if (x1 < x0) {
            return;
        }
        const uint8_t* r = filled.Bytes.data() + std::size_t(y) * std::size_t(w);
        const auto end = std::size_t(x1) + 1;
        std::size_t first = findByte(r, std::size_t(x0), end, pen);
        while (first < end && !counts(int64_t(first), y)) {
            first = findByte(r, first + 1, end, pen);
        }
        if (first == end) {
            return;
        }
        // The first pixel that counts is found again from the right at the latest.
        std::size_t last = findLastByte(r, first, end, pen);
        while (!counts(int64_t(last), y)) {
            last = findLastByte(r, first, last, pen);
        }
        left = std::min<int64_t>(left, int64_t(first));
        right = std::max<int64_t>(right, int64_t(last));
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    };
    for (int64_t y = wy0; y <= wy1; ++y) {
        if (y < minY || y > maxY) {
            scan(y, wx0, wx1);
        } else {
            scan(y, wx0, minX - 1);
            scan(y, maxX + 1, wx1);
        }
    }
    return {int32_t(left), int32_t(top), int32_t(right + 1), int32_t(bottom + 1)};
}

} // namespace

Rect pieceBox(const CutMap& filled, const FillExtent& extent, uint8_t pen) {
    return boxOfPiece(filled, extent, pen, [](int64_t, int64_t) { return true; });
}

std::vector<Rect> labelRegions(CutMap& map, const SeedTable& seeds, ProgressReporter* progress,
                               const OpenRuns* runs, int32_t threads) {
    if (map.Width <= 0 || map.Height <= 0 || map.Bytes.size() != std::size_t(map.Width) * map.Height) {
        throw std::invalid_argument("the cut map is empty");
    }
    if (seeds.Cols < 1 || seeds.Rows < 1 ||
        seeds.Points.size() != std::size_t(seeds.Cols) * std::size_t(seeds.Rows)) {
        throw std::invalid_argument("the seed table does not match the grid");
    }
    // The open areas are found once; each fill then writes its area's runs.
    OpenRuns found;
    if (runs == nullptr || !runs->describes(map)) {
        found = OpenRuns(map, threads);
        runs = &found;
    }
    const int32_t w = map.Width;
    const int32_t h = map.Height;
    const int32_t cols = seeds.Cols;
    const int64_t count = int64_t(cols) * seeds.Rows;
    const auto penOf = [cols](int64_t i) { return cellPen(int32_t(i % cols), int32_t(i / cols)); };

    // 1. Which area each piece's fill takes, in piece order (rows outer,
    // columns inner), as filling one piece after the other decides it: the
    // fill from a seed takes the whole open area at the seed or, for a seed
    // on a line pixel, the one starting just right of it; an area filled
    // already is no longer open. A piece whose fill sets nothing gets the
    // empty extent of its start.
    constexpr int32_t kNoPiece = -1;
    std::vector<int32_t> pieceOfArea(runs->runCount(), kNoPiece); // per root run
    std::vector<FillExtent> extents(std::size_t(count), FillExtent{w, h, 0, 0});
    std::vector<uint8_t> filled(std::size_t(count), 0);
    for (int64_t i = 0; i < count; ++i) {
        const Point seed = seeds.at(int32_t(i % cols), int32_t(i / cols));
        const int32_t x = std::clamp(seed.X, 0, w - 1);
        const int32_t y = std::clamp(seed.Y, 0, h - 1);
        const uint8_t* const row = map.Bytes.data() + std::size_t(y) * std::size_t(w);
        const auto openArea = [&](int32_t at) {
            if (at >= w || row[at] != 0) {
                return OpenRuns::kNone;
            }
            const uint32_t root = runs->areaOf(runs->runAt(at, y));
            return pieceOfArea[root] == kNoPiece ? root : OpenRuns::kNone;
        };
        uint32_t root = openArea(x);
        if (root == OpenRuns::kNone) {
            root = openArea(x + 1);
        }
        if (root == OpenRuns::kNone) {
            extents[std::size_t(i)] = {x + 1, y, x, y};
            continue;
        }
        pieceOfArea[root] = int32_t(i);
        filled[std::size_t(i)] = 1;
    }

    // 2. The fills, band by band of rows: each run of a taken area gets its
    // piece's pen, and each band notes how far each piece reaches in it.
    // The filled pixels are marked, one bit each, rows on whole bytes.
    const int32_t bandCount = rowBandCount(h, threads);
    const std::size_t markStride = (std::size_t(w) + 7) / 8;
    std::vector<uint8_t> marks(markStride * std::size_t(h), 0);
    std::vector<std::vector<FillExtent>> bandExtents(static_cast<std::size_t>(bandCount));
    forEachPiece(bandCount, threads, [&](int64_t b) {
        const RowBand band = rowBand(h, bandCount, int32_t(b));
        std::vector<FillExtent>& reach = bandExtents[std::size_t(b)];
        reach.assign(std::size_t(count), FillExtent{w, h, 0, 0});
        const uint32_t end = runs->rowEnd(band.Last);
        for (uint32_t r = runs->firstRunFrom(0, band.First); r < end; ++r) {
            const int32_t piece = pieceOfArea[runs->areaOf(r)];
            if (piece == kNoPiece) {
                continue;
            }
            const OpenRuns::Run& run = runs->run(r);
            std::memset(map.Bytes.data() + std::size_t(run.Row) * std::size_t(w) + std::size_t(run.Left),
                        penOf(piece), std::size_t(run.Right - run.Left + 1));
            markRange(marks.data() + std::size_t(run.Row) * markStride, run.Left, run.Right);
            FillExtent& e = reach[std::size_t(piece)];
            e.MinX = std::min(e.MinX, run.Left);
            e.MaxX = std::max(e.MaxX, run.Right);
            e.MinY = std::min(e.MinY, run.Row);
            e.MaxY = std::max(e.MaxY, run.Row);
        }
    });
    for (const std::vector<FillExtent>& reach : bandExtents) {
        for (int64_t i = 0; i < count; ++i) {
            if (filled[std::size_t(i)] != 0) {
                FillExtent& e = extents[std::size_t(i)];
                const FillExtent& r = reach[std::size_t(i)];
                e = {std::min(e.MinX, r.MinX), std::min(e.MinY, r.MinY), std::max(e.MaxX, r.MaxX),
                     std::max(e.MaxY, r.MaxY)};
            }
        }
    }
    bandExtents = {};

    // 3. The boxes, which only read the filled map. Filling one piece after
    // the other, a piece's box is taken before the later pieces are filled:
    // a pixel of its pen that a later piece of the same pen filled does not
    // count for it.
    std::vector<Rect> boxes(static_cast<std::size_t>(count));
    forEachPiece(
        count, threads,
        [&](int64_t i) {
            boxes[std::size_t(i)] =
                boxOfPiece(map, extents[std::size_t(i)], penOf(i), [&](int64_t x, int64_t y) {
                    if ((marks[std::size_t(y) * markStride + std::size_t(x) / 8] & (1u << (x % 8))) == 0) {
                        return true; // a line
                    }
                    return pieceOfArea[runs->areaOf(runs->runAt(int32_t(x), int32_t(y)))] < i;
                });
        },
        [&](int64_t done) {
            if (progress) {
                progress->step(done);
            }
        });
    return boxes;
}

namespace {

/// Clears the mask bits of the pixels of `box` in `filled` that hold `pen`,
/// in the cell whose top-left mask byte is `cell` (rows `stride` bytes apart).
void writePieceMask(const CutMap& filled, const Rect& box, uint8_t pen, uint8_t* cell, std::size_t stride) {
    const int32_t w = box.width();
    const uint64_t pattern = kOnes * pen;
    for (int32_t y = 0; y < box.height(); ++y) {
        const uint8_t* src = filled.Bytes.data() + filled.index(box.Left, box.Top + y);
        uint8_t* dst = cell + std::size_t(y) * stride;
        int32_t x = 0;
#if defined(__SSE2__)
        const __m128i pens = _mm_set1_epi8(char(pen));
        for (; x + 16 <= w; x += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
            const auto on = uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, pens)));
            dst[x / 8] = uint8_t(dst[x / 8] & ~kReversedBits[on & 0xFF]);
            dst[x / 8 + 1] = uint8_t(dst[x / 8 + 1] & ~kReversedBits[on >> 8]);
        }
#endif
        for (; x + 8 <= w; x += 8) {
            dst[x / 8] = uint8_t(dst[x / 8] & ~gatherBits(zeroBytes(load8(src + x) ^ pattern)));
        }
        if (x < w) {
            uint8_t bits = 0;
            for (int32_t b = 0; x + b < w; ++b) {
                if (src[x + b] == pen) {
                    bits = uint8_t(bits | (0x80 >> b));
                }
            }
            dst[x / 8] = uint8_t(dst[x / 8] & ~bits);
        }
    }
}

} // namespace

void writeMaskBits(const CutMap& filled, std::span<const Rect> boxes, int32_t cols, const AtlasSizes& sizes,
                   std::span<uint8_t> buffer, ProgressReporter* progress, int32_t threads) {
    const std::size_t stride = sizes.AtlasWidth / 8;
    if (cols < 1 || buffer.size() < sizes.maskBytes()) {
        throw std::invalid_argument("the mask buffer is smaller than one mask atlas");
    }
    const Rect mapBounds{0, 0, filled.Width, filled.Height};
    const int64_t count = int64_t(boxes.size());
    // Every box is checked before any thread writes, so that a bad one leaves
    // the buffer untouched.
    for (int64_t i = 0; i < count; ++i) {
        const Rect& box = boxes[std::size_t(i)];
        const int64_t cellX = (i % cols) * sizes.PieceWidth;
        const int64_t cellY = (i / cols) * sizes.PieceHeight;
        if (!mapBounds.contains(box) || box.width() > sizes.PieceHeight || box.height() > sizes.PieceHeight ||
            cellX + sizes.PieceWidth > sizes.AtlasWidth || cellY + sizes.PieceHeight > sizes.AtlasHeight) {
            throw std::invalid_argument("a piece box does not fit the picture or its cell");
        }
    }
    forEachPiece(
        count, threads,
        [&](int64_t i) {
            const int64_t col = i % cols;
            const int64_t row = i / cols;
            uint8_t* cell = buffer.data() + std::size_t(row * sizes.PieceHeight) * stride +
                            std::size_t(col * sizes.PieceWidth / 8);
            writePieceMask(filled, boxes[std::size_t(i)], cellPen(int32_t(col), int32_t(row)), cell, stride);
        },
        [&](int64_t done) {
            if (progress) {
                progress->step(count + 2 * done);
            }
        });
}

} // namespace zg
