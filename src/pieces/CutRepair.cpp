#include "pieces/CutRepair.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace zg {

namespace {

// Marks in the scratch copy used by claimRegions.
constexpr uint8_t kOpen = 0;
constexpr uint8_t kLine = 1;
constexpr uint8_t kClaimed = 2;
constexpr uint8_t kOrphan = 3;
constexpr uint8_t kVisiting = 4;

constexpr int32_t kPenCount = 16;
/// How far around a stranded seed to look for a safe line pixel of its own:
/// about a cell, but never more than this.
constexpr int32_t kMaxLineSearchRadius = 64;

struct Area {
    std::size_t Start = 0;
    std::array<int64_t, kPenCount> Border{}; ///< line pixels of each pen next to the area
    int64_t Owner = -1;                      ///< row-major cell index, -1 when unclaimed
};

class RegionClaimer {
public:
    RegionClaimer(CutMap& map, SeedTable& seeds)
        : m_map(map), m_seeds(seeds), m_width(map.Width), m_height(map.Height), m_marks(map.Bytes.size()) {
        for (std::size_t i = 0; i < m_marks.size(); ++i) {
            m_marks[i] = map.Bytes[i] != 0 ? kLine : kOpen;
        }
    }

    void run();

private:
    int64_t cellCount() const { return int64_t(m_seeds.Cols) * m_seeds.Rows; }
    int32_t colOf(int64_t cell) const { return int32_t(cell % m_seeds.Cols); }
    int32_t rowOf(int64_t cell) const { return int32_t(cell / m_seeds.Cols); }
    /// The cell's pen as an index 0..15.
    int32_t penIndex(int64_t cell) const { return cellPen(colOf(cell), rowOf(cell)) - kPenBase; }
    Point& seedOf(int64_t cell) { return m_seeds.at(colOf(cell), rowOf(cell)); }

    /// Rewrites the 4-connected pixels marked `from` around `start` to `to`,
    /// calling visit(first, last, rowStart) for each run of them on a row
    /// (indices into the map, `last` included).
    template <class Visit> void flood(std::size_t start, uint8_t from, uint8_t to, Visit&& visit);
    /// Marks a new area from `start` and counts the pens of the lines around it.
    Area markArea(std::size_t start, uint8_t mark, int64_t owner);
    /// The claimed area that holds pixel `index`.
    std::size_t areaAt(std::size_t index);
    /// The pixel of the area nearest to `target` (first found on ties).
    Point nearestPixel(const Area& area, uint8_t mark, Point target);
    /// Gives a cell that found no area of its own a seed on its own line with
    /// a line or the map's edge to its right, so a fill from it stays empty.
    void strandSeed(int64_t cell);

    CutMap& m_map;
    SeedTable& m_seeds;
    const int32_t m_width;
    const int32_t m_height;
    std::vector<uint8_t> m_marks;
    std::vector<Area> m_areas;
    std::unordered_map<std::size_t, std::size_t> m_areaByStart;
    std::vector<std::size_t> m_stack;
};

template <class Visit> void RegionClaimer::flood(std::size_t start, uint8_t from, uint8_t to, Visit&& visit) {
    // Scanline fill: each popped pixel grows into its whole run on the row,
    // and one pixel per adjoining run above and below is pushed.
    const auto w = std::size_t(m_width);
    m_stack.assign(1, start);
    while (!m_stack.empty()) {
        const std::size_t i = m_stack.back();
        m_stack.pop_back();
        if (m_marks[i] != from) {
            continue;
        }
        const std::size_t rowStart = i - i % w;
        std::size_t left = i;
        while (left > rowStart && m_marks[left - 1] == from) {
            --left;
        }
        std::size_t right = i;
        while (right + 1 < rowStart + w && m_marks[right + 1] == from) {
            ++right;
        }
        std::fill(m_marks.begin() + std::ptrdiff_t(left), m_marks.begin() + std::ptrdiff_t(right + 1), to);
        visit(left, right, rowStart);
        const auto pushRuns = [&](std::size_t from0, std::size_t to0) {
            bool inRun = false;
            for (std::size_t k = from0; k <= to0; ++k) {
                const bool open = m_marks[k] == from;
                if (open && !inRun) {
                    m_stack.push_back(k);
                }
                inRun = open;
            }
        };
        if (rowStart >= w) {
            pushRuns(left - w, right - w);
        }
        if (rowStart + w < m_marks.size()) {
            pushRuns(left + w, right + w);
        }
    }
}

Area RegionClaimer::markArea(std::size_t start, uint8_t mark, int64_t owner) {
    Area area;
    area.Start = start;
    area.Owner = owner;
    const auto w = std::size_t(m_width);
    const auto count = [&](std::size_t n) {
        const uint8_t v = m_map.Bytes[n];
        if (v >= kPenBase && v < kPenBase + kPenCount) {
            ++area.Border[std::size_t(v - kPenBase)];
        }
    };
    flood(start, kOpen, mark, [&](std::size_t first, std::size_t last, std::size_t rowStart) {
        // Inside a run only the pixels above and below can be lines.
        if (first > rowStart) {
            count(first - 1);
        }
        if (last + 1 < rowStart + w) {
            count(last + 1);
        }
        for (std::size_t i = first; i <= last; ++i) {
            if (rowStart >= w) {
                count(i - w);
            }
            if (rowStart + w < m_marks.size()) {
                count(i + w);
            }
        }
    });
    m_areaByStart.emplace(start, m_areas.size());
    return area;
}

std::size_t RegionClaimer::areaAt(std::size_t index) {
    // Claimed areas never touch each other, so the claimed pixels connected to
    // `index` are exactly one area; its first pixel names it.
    std::size_t found = 0;
    flood(index, kClaimed, kVisiting, [&](std::size_t first, std::size_t last, std::size_t) {
        for (std::size_t i = first; i <= last; ++i) {
            const auto it = m_areaByStart.find(i);
            if (it != m_areaByStart.end()) {
                found = it->second;
            }
        }
    });
    flood(index, kVisiting, kClaimed, [](std::size_t, std::size_t, std::size_t) {});
    return found;
}

Point RegionClaimer::nearestPixel(const Area& area, uint8_t mark, Point target) {
    const auto w = std::size_t(m_width);
    int64_t best = std::numeric_limits<int64_t>::max();
    Point nearest{};
    flood(area.Start, mark, kVisiting, [&](std::size_t first, std::size_t last, std::size_t rowStart) {
        const auto y = int64_t(rowStart / w);
        for (std::size_t i = first; i <= last; ++i) {
            const auto x = int64_t(i - rowStart);
            const int64_t d = (x - target.X) * (x - target.X) + (y - target.Y) * (y - target.Y);
            if (d < best) {
                best = d;
                nearest = {int32_t(x), int32_t(y)};
            }
        }
    });
    flood(area.Start, kVisiting, mark, [](std::size_t, std::size_t, std::size_t) {});
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

    // 1. Seeds in open areas claim them, in row-major order.
    for (int64_t cell = 0; cell < cellCount(); ++cell) {
        const Point seed = seedOf(cell);
        if (!m_map.contains(seed.X, seed.Y)) {
            homeless.push_back(cell);
            continue;
        }
        const std::size_t index = m_map.index(seed.X, seed.Y);
        if (m_marks[index] == kOpen) {
            const Area area = markArea(index, kClaimed, cell);
            m_areas.push_back(area);
        } else if (m_marks[index] == kClaimed) {
            Area& area = m_areas[areaAt(index)];
            if (area.Border[std::size_t(penIndex(cell))] > area.Border[std::size_t(penIndex(area.Owner))]) {
                homeless.push_back(area.Owner);
                area.Owner = cell;
            } else {
                homeless.push_back(cell);
            }
        } else {
            homeless.push_back(cell);
        }
    }

    // 2. The areas no seed reached.
    const std::size_t firstOrphan = m_areas.size();
    for (std::size_t i = 0; i < m_marks.size(); ++i) {
        if (m_marks[i] == kOpen) {
            const Area area = markArea(i, kOrphan, -1);
            m_areas.push_back(area);
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
        seedOf(cell) = nearestPixel(m_areas[best], kOrphan, seedOf(cell));
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
        flood(area.Start, kOrphan, kLine, [&](std::size_t first, std::size_t last, std::size_t) {
            std::fill(m_map.Bytes.begin() + std::ptrdiff_t(first),
                      m_map.Bytes.begin() + std::ptrdiff_t(last + 1), pen);
        });
    }
}

} // namespace

void repairHoles(CutMap& map) {
    const int32_t w = map.Width;
    const int32_t h = map.Height;
    if (w < 3 || h < 3 || map.Bytes.size() < std::size_t(w) * std::size_t(h)) {
        return;
    }
    for (int32_t y = 1; y < h - 1; ++y) {
        for (int32_t x = 1; x < w - 1; ++x) {
            if (map.at(x, y) == 0 && map.at(x - 1, y) != 0 && map.at(x + 1, y) != 0 &&
                map.at(x, y - 1) != 0 && map.at(x, y + 1) != 0) {
                map.at(x, y) = map.at(x - 1, y);
            }
        }
    }
}

void claimRegions(CutMap& map, SeedTable& seeds) {
    if (map.Width < 1 || map.Height < 1 ||
        map.Bytes.size() != std::size_t(map.Width) * std::size_t(map.Height) ||
        seeds.Points.size() != std::size_t(seeds.Cols) * std::size_t(seeds.Rows)) {
        return;
    }
    RegionClaimer(map, seeds).run();
}

} // namespace zg
