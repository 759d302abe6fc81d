#include "pieces/CutRepair.h"

#include "pieces/ByteRuns.h"
#include "pieces/CutBands.h"
#include "pieces/OpenRuns.h"
#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zg {

namespace {

using namespace byteruns;

constexpr int32_t kPenCount = 16;
/// How far around a stranded seed to look for a safe line pixel of its own:
/// about a cell, but never more than this.
constexpr int32_t kMaxLineSearchRadius = 64;

struct Area {
    std::size_t Start = 0;                   ///< the area's first pixel, or the seed that claimed it
    uint32_t Root = OpenRuns::kNone;         ///< the area's first run
    std::array<int64_t, kPenCount> Border{}; ///< line pixels of each pen next to the area
    bool Counted = false;                    ///< Border has been counted
    int64_t Owner = -1;                      ///< row-major cell index, -1 when unclaimed
};

/// Settles who owns each open area (4-connected region of 0 pixels) of a cut
/// map. The areas come from one pass over the map's runs of 0 bytes.
class RegionClaimer {
public:
    RegionClaimer(CutMap& map, SeedTable& seeds, const OpenRuns& runs)
        : m_map(map), m_seeds(seeds), m_width(map.Width), m_height(map.Height), m_runs(runs),
          m_areaOfRoot(m_runs.runCount(), kNoArea) {}

    void run();

private:
    static constexpr uint32_t kNoArea = UINT32_MAX;

    int64_t cellCount() const { return int64_t(m_seeds.Cols) * m_seeds.Rows; }
    int32_t colOf(int64_t cell) const { return int32_t(cell % m_seeds.Cols); }
    int32_t rowOf(int64_t cell) const { return int32_t(cell / m_seeds.Cols); }
    /// The cell's pen as an index 0..15.
    int32_t penIndex(int64_t cell) const { return cellPen(colOf(cell), rowOf(cell)) - kPenBase; }
    Point& seedOf(int64_t cell) { return m_seeds.at(colOf(cell), rowOf(cell)); }

    /// Adds an area with root run `root` and returns its index.
    uint32_t addArea(std::size_t start, uint32_t root, int64_t owner);
    /// Counts the pens of the lines around an area: for each of its pixels
    /// the line pixels above and below, and those at the ends of its runs.
    void countBorder(Area& area) const;
    /// The pixel of the area nearest to `target`, the first one on ties in
    /// the order a scanline fill from the area's first pixel visits them.
    Point nearestPixel(const Area& area, Point target);
    /// Gives a cell that found no area of its own a seed on its own line with
    /// a line or the map's edge to its right, so a fill from it stays empty.
    void strandSeed(int64_t cell);

    CutMap& m_map;
    SeedTable& m_seeds;
    const int32_t m_width;
    const int32_t m_height;
    const OpenRuns& m_runs;
    std::vector<uint32_t> m_areaOfRoot; ///< per root run, its index in m_areas
    std::vector<Area> m_areas;
    std::vector<uint8_t> m_visited; ///< per run, for nearestPixel; made when first needed
    std::vector<std::size_t> m_stack;
};

uint32_t RegionClaimer::addArea(std::size_t start, uint32_t root, int64_t owner) {
    Area area;
    area.Start = start;
    area.Root = root;
    area.Owner = owner;
    m_areaOfRoot[root] = uint32_t(m_areas.size());
    m_areas.push_back(area);
    return uint32_t(m_areas.size() - 1);
}

void RegionClaimer::countBorder(Area& area) const {
    const auto w = std::size_t(m_width);
    const std::size_t size = m_map.Bytes.size();
    const uint8_t* const bytes = m_map.Bytes.data();
    const auto count = [&](std::size_t n) {
        const uint8_t v = bytes[n];
        if (v >= kPenBase && v < kPenBase + kPenCount) {
            ++area.Border[std::size_t(v - kPenBase)];
        }
    };
    // Inside a run only the pixels above and below can be lines; the open
    // ones among them (0) are skipped many at a time.
    const auto countRow = [&](std::size_t from, std::size_t to) {
        for (std::size_t n = findOtherByte(bytes, from, to + 1, 0); n <= to;
             n = findOtherByte(bytes, n + 1, to + 1, 0)) {
            count(n);
        }
    };
    m_runs.forEachRun(area.Root, [&](const OpenRuns::Run& run) {
        const std::size_t rowStart = std::size_t(run.Row) * w;
        const std::size_t first = rowStart + std::size_t(run.Left);
        const std::size_t last = rowStart + std::size_t(run.Right);
        if (first > rowStart) {
            count(first - 1);
        }
        if (last + 1 < rowStart + w) {
            count(last + 1);
        }
        if (rowStart >= w) {
            countRow(first - w, last - w);
        }
        if (rowStart + w < size) {
            countRow(first + w, last + w);
        }
    });
    area.Counted = true;
}

Point RegionClaimer::nearestPixel(const Area& area, Point target) {
    // The visiting order decides ties, so this walks the area as a scanline
    // fill does: each popped pixel takes its whole run, then the first pixel
    // of every unvisited run touching it is pushed, the row above first and
    // each row left to right.
    if (m_visited.empty()) {
        m_visited.assign(m_runs.runCount(), 0);
    }
    const auto w = std::size_t(m_width);
    int64_t best = std::numeric_limits<int64_t>::max();
    Point nearest{};
    std::vector<uint32_t> visited;
    const auto pushRuns = [&](int32_t y, int32_t left, int32_t right) {
        for (uint32_t r = m_runs.firstRunFrom(left, y); r < m_runs.rowEnd(y) && m_runs.run(r).Left <= right;
             ++r) {
            if (m_visited[r] == 0) {
                m_stack.push_back(std::size_t(y) * w + std::size_t(std::max(m_runs.run(r).Left, left)));
            }
        }
    };
    m_stack.assign(1, area.Start);
    while (!m_stack.empty()) {
        const std::size_t i = m_stack.back();
        m_stack.pop_back();
        const uint32_t r = m_runs.runAt(int32_t(i % w), int32_t(i / w));
        if (r == OpenRuns::kNone || m_visited[r] != 0) {
            continue;
        }
        m_visited[r] = 1;
        visited.push_back(r);
        const OpenRuns::Run& run = m_runs.run(r);
        const int64_t y = run.Row;
        for (int64_t x = run.Left; x <= run.Right; ++x) {
            const int64_t d = (x - target.X) * (x - target.X) + (y - target.Y) * (y - target.Y);
            if (d < best) {
                best = d;
                nearest = {int32_t(x), int32_t(y)};
            }
        }
        if (run.Row > 0) {
            pushRuns(run.Row - 1, run.Left, run.Right);
        }
        if (run.Row + 1 < m_height) {
            pushRuns(run.Row + 1, run.Left, run.Right);
        }
    }
    for (const uint32_t r : visited) {
        m_visited[r] = 0;
    }
    return nearest;
}

void RegionClaimer::strandSeed(int64_t cell) {
    const Point seed = seedOf(cell);
    const uint8_t pen = cellPen(colOf(cell), rowOf(cell));
    int64_t best = std::numeric_limits<int64_t>::max();
    const int32_t cellSize =
        std::max(m_width / std::max(m_seeds.Cols, 1), m_height / std::max(m_seeds.Rows, 1));
    const int32_t radius = std::clamp(cellSize, 2, kMaxLineSearchRadius);
    const int32_t x0 = std::max(0, seed.X - radius);
    const int32_t x1 = std::min(m_width - 1, seed.X + radius);
    const int32_t y0 = std::max(0, seed.Y - radius);
    const int32_t y1 = std::min(m_height - 1, seed.Y + radius);
    for (int32_t y = y0; y <= y1; ++y) {
        for (int32_t x = x0; x <= x1; ++x) {
            if (m_map.at(x, y) != pen || (x + 1 < m_width && m_map.at(x + 1, y) == 0)) {
                continue;
            }
            const int64_t d = int64_t(x - seed.X) * (x - seed.X) + int64_t(y - seed.Y) * (y - seed.Y);
            if (d < best) {
                best = d;
                seedOf(cell) = {x, y};
            }
        }
    }
}

void RegionClaimer::run() {
    std::vector<int64_t> homeless;

    // 1. Seeds in open areas claim them, in row-major order. The lines around
    // a claimed area only matter when a second seed lands in it; they are
    // counted then.
    for (int64_t cell = 0; cell < cellCount(); ++cell) {
        const Point seed = seedOf(cell);
        const uint32_t r = m_runs.runAt(seed.X, seed.Y);
        if (!m_map.contains(seed.X, seed.Y) || r == OpenRuns::kNone) {
            homeless.push_back(cell);
            continue;
        }
        const uint32_t root = m_runs.areaOf(r);
        if (m_areaOfRoot[root] == kNoArea) {
            addArea(m_map.index(seed.X, seed.Y), root, cell);
            continue;
        }
        Area& area = m_areas[m_areaOfRoot[root]];
        if (!area.Counted) {
            countBorder(area);
        }
        if (area.Border[std::size_t(penIndex(cell))] > area.Border[std::size_t(penIndex(area.Owner))]) {
            homeless.push_back(area.Owner);
            area.Owner = cell;
        } else {
            homeless.push_back(cell);
        }
    }

    // 2. The areas no seed reached, in raster order of their first pixels.
    const std::size_t firstOrphan = m_areas.size();
    const auto w = std::size_t(m_width);
    for (uint32_t r = 0; r < m_runs.runCount(); ++r) {
        if (m_runs.isRoot(r) && m_areaOfRoot[r] == kNoArea) {
            const OpenRuns::Run& run = m_runs.run(r);
            countBorder(m_areas[addArea(std::size_t(run.Row) * w + std::size_t(run.Left), r, -1)]);
        }
    }
    if (homeless.empty() && firstOrphan == m_areas.size()) {
        return;
    }

    // 3. Cells without an area take the unclaimed one their lines border most.
    std::sort(homeless.begin(), homeless.end());
    for (const int64_t cell : homeless) {
        const auto pen = std::size_t(penIndex(cell));
        std::size_t best = m_areas.size();
        for (std::size_t a = firstOrphan; a < m_areas.size(); ++a) {
            if (m_areas[a].Owner < 0 && m_areas[a].Border[pen] > 0 &&
                (best == m_areas.size() || m_areas[a].Border[pen] > m_areas[best].Border[pen])) {
                best = a;
            }
        }
        if (best == m_areas.size()) {
            strandSeed(cell);
            continue;
        }
        m_areas[best].Owner = cell;
        seedOf(cell) = nearestPixel(m_areas[best], seedOf(cell));
    }

    // 4. Whatever is left joins the piece whose lines surround it most.
    for (std::size_t a = firstOrphan; a < m_areas.size(); ++a) {
        const Area& area = m_areas[a];
        if (area.Owner >= 0) {
            continue;
        }
        const auto most = std::max_element(area.Border.begin(), area.Border.end());
        if (*most == 0) {
            continue;
        }
        const auto pen = uint8_t(kPenBase + (most - area.Border.begin()));
        m_runs.forEachRun(area.Root, [&](const OpenRuns::Run& run) {
            std::memset(m_map.Bytes.data() + std::size_t(run.Row) * w + std::size_t(run.Left), pen,
                        std::size_t(run.Right - run.Left + 1));
        });
    }
}

} // namespace

namespace {

/// Repairs the holes of row y (1 .. Height-2) of a map at least 3 x 3.
void repairRow(CutMap& map, int32_t y) {
    const auto stride = std::size_t(map.Width);
    uint8_t* const row = map.Bytes.data() + std::size_t(y) * stride;
    const uint8_t* const above = row - stride;
    const uint8_t* const below = row + stride;
    const auto repair = [&](std::size_t x) {
        if (row[x] == 0 && row[x - 1] != 0 && row[x + 1] != 0 && above[x] != 0 && below[x] != 0) {
            row[x] = row[x - 1];
        }
    };
    // Eight pixels at a time, looking closer only where one of them is
    // open with all four neighbours set. Filling a hole only turns an open
    // pixel into a line pixel, and the pixel right of a hole is a line
    // already, so no later pixel of the same word can become a hole
    // through it; the next row reads the repaired bytes.
    std::size_t x = 1;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const auto zeros16 = [&](const uint8_t* p) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), zero);
    };
    for (; x + 17 <= stride; x += 16) {
        const __m128i openNeighbour = _mm_or_si128(_mm_or_si128(zeros16(row + x - 1), zeros16(row + x + 1)),
                                                   _mm_or_si128(zeros16(above + x), zeros16(below + x)));
        for (auto holes = uint32_t(_mm_movemask_epi8(_mm_andnot_si128(openNeighbour, zeros16(row + x))));
             holes != 0; holes &= holes - 1) {
            repair(x + std::size_t(std::countr_zero(holes)));
        }
    }
#endif
    for (; x + 9 <= stride; x += 8) {
        const uint64_t holes = zeroBytes(load8(row + x)) & otherBytes(load8(row + x - 1), 0) &
                               otherBytes(load8(row + x + 1), 0) & otherBytes(load8(above + x), 0) &
                               otherBytes(load8(below + x), 0);
        for (uint64_t f = holes; f != 0; f &= f - 1) {
            repair(x + firstFlagged(f));
        }
    }
    for (; x + 1 < stride; ++x) {
        repair(x);
    }
}

} // namespace

void repairHoles(CutMap& map, int32_t threads) {
    const int32_t w = map.Width;
    const int32_t h = map.Height;
    if (w < 3 || h < 3 || map.Bytes.size() < std::size_t(w) * std::size_t(h)) {
        return;
    }
    // Whether a pixel is a hole depends on the map as it was only: the four
    // neighbours of a hole are lines, so none of them is a hole, and a filled
    // hole takes its left neighbour's pen, which is one of the map's. So the
    // bands of rows repair their rows side by side, but leave their first
    // rows, which the band above reads, until all are done.
    const int32_t count = rowBandCount(h, threads);
    forEachPiece(count, threads, [&](int64_t b) {
        const RowBand band = rowBand(h, count, int32_t(b));
        const int32_t last = std::min(band.Last, h - 2);
        for (int32_t y = std::max(b == 0 ? band.First : band.First + 1, 1); y <= last; ++y) {
            repairRow(map, y);
        }
    });
    for (int32_t b = 1; b < count; ++b) {
        const int32_t first = rowBand(h, count, b).First;
        if (first >= 1 && first <= h - 2) {
            repairRow(map, first);
        }
    }
}

void claimRegions(CutMap& map, SeedTable& seeds) {
    if (map.Width < 1 || map.Height < 1 ||
        map.Bytes.size() != std::size_t(map.Width) * std::size_t(map.Height) ||
        seeds.Points.size() != std::size_t(seeds.Cols) * std::size_t(seeds.Rows)) {
        return;
    }
    claimRegions(map, seeds, OpenRuns(map));
}

void claimRegions(CutMap& map, SeedTable& seeds, const OpenRuns& runs) {
    if (map.Width < 1 || map.Height < 1 ||
        map.Bytes.size() != std::size_t(map.Width) * std::size_t(map.Height) ||
        seeds.Points.size() != std::size_t(seeds.Cols) * std::size_t(seeds.Rows) || !runs.describes(map)) {
        return;
    }
    RegionClaimer(map, seeds, runs).run();
}

} // namespace zg
