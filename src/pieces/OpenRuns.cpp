#include "pieces/OpenRuns.h"

#include "pieces/ByteRuns.h"
#include "pieces/CutBands.h"
#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <stdexcept>

namespace zg {

namespace {

/// Union-find over run indices: every link points to a smaller index, so an
/// area's root is its first run in raster order.
uint32_t findRoot(uint32_t* parent, uint32_t x) {
    while (parent[x] != x) {
        parent[x] = parent[parent[x]];
        x = parent[x];
    }
    return x;
}

void unite(uint32_t* parent, uint32_t a, uint32_t b) {
    const uint32_t ra = findRoot(parent, a);
    const uint32_t rb = findRoot(parent, b);
    if (ra < rb) {
        parent[rb] = ra;
    } else if (rb < ra) {
        parent[ra] = rb;
    }
}

} // namespace

OpenRuns::OpenRuns(const CutMap& map, int32_t threads)
    : m_width(std::max(map.Width, 0)), m_height(std::max(map.Height, 0)) {
    const auto w = std::size_t(m_width);
    const uint8_t* const bytes = map.Bytes.data();
    const int32_t bandCount = m_height > 0 ? rowBandCount(m_height, threads) : 1;
    const auto rowOf = [&](int32_t y) { return bytes + std::size_t(y) * w; };

    // The bands of rows first count their rows' runs, so that every run's
    // place is known before any is written.
    m_rowStart.assign(std::size_t(m_height) + 1, 0);
    forEachPiece(bandCount, threads, [&](int64_t b) {
        const RowBand band = rowBand(m_height, bandCount, int32_t(b));
        for (int32_t y = band.First; y <= band.Last; ++y) {
            m_rowStart[std::size_t(y) + 1] = uint32_t(byteruns::countZeroRuns(rowOf(y), w));
        }
    });
    uint64_t total = 0;
    for (std::size_t y = 1; y < m_rowStart.size(); ++y) {
        total += m_rowStart[y];
        if (total >= kNone) {
            throw std::length_error("the cut map has too many open runs");
        }
        m_rowStart[y] = uint32_t(total);
    }
    const auto n = uint32_t(total);
    // Left unwritten here: each band writes its own runs.
    m_runs.resize(n);
    m_area.resize(n);
    m_next.resize(n);
    std::vector<uint32_t> bandFirstRun(std::size_t(bandCount) + 1, n);
    for (int32_t b = 0; b < bandCount; ++b) {
        bandFirstRun[std::size_t(b)] = m_rowStart[std::size_t(rowBand(m_height, bandCount, b).First)];
    }

    // Runs on neighbouring rows that share a column touch. Each band unites
    // the runs of its own rows; every link points to a smaller index, which
    // leaves each run pointing at its band's first run of its area.
    const auto uniteRows = [this](int32_t y) {
        uint32_t i = m_rowStart[std::size_t(y) - 1];
        const uint32_t iEnd = m_rowStart[std::size_t(y)];
        uint32_t j = iEnd;
        const uint32_t jEnd = m_rowStart[std::size_t(y) + 1];
        while (i < iEnd && j < jEnd) {
            const Run& a = m_runs[i];
            const Run& b = m_runs[j];
            if (a.Left <= b.Right && b.Left <= a.Right) {
                unite(m_area.data(), i, j);
            }
            if (a.Right < b.Right) {
                ++i;
            } else {
                ++j;
            }
        }
    };
    std::vector<std::vector<uint32_t>> bandRoots(static_cast<std::size_t>(bandCount));
    forEachPiece(bandCount, threads, [&](int64_t b) {
        const RowBand band = rowBand(m_height, bandCount, int32_t(b));
        const uint32_t first = bandFirstRun[std::size_t(b)];
        const uint32_t end = bandFirstRun[std::size_t(b) + 1];
        uint32_t at = first;
        for (int32_t y = band.First; y <= band.Last; ++y) {
            byteruns::forEachZeroRun(rowOf(y), w, [&](std::size_t left, std::size_t right) {
                m_runs[at] = {y, int32_t(left), int32_t(right)};
                m_area[at] = at;
                m_next[at] = kNone;
                ++at;
            });
        }
        for (int32_t y = band.First + 1; y <= band.Last; ++y) {
            uniteRows(y);
        }
        // Links point to smaller indices, so one forward pass resolves every
        // run to its band's root.
        std::vector<uint32_t>& roots = bandRoots[std::size_t(b)];
        for (uint32_t r = first; r < end; ++r) {
            m_area[r] = m_area[m_area[r]];
            if (m_area[r] == r) {
                roots.push_back(r);
            }
        }
    });

    // Then the bands are joined where they meet. Every link still points to
    // a band's root, and always to a smaller index: taking the bands' roots
    // in raster order resolves each to its area's first run, and then every
    // other run to its band root's area. That last pass writes only runs
    // that are not band roots and reads only band roots, so the bands can
    // take it side by side.
    if (bandCount > 1) {
        for (int32_t b = 1; b < bandCount; ++b) {
            uniteRows(rowBand(m_height, bandCount, b).First);
        }
        for (const std::vector<uint32_t>& roots : bandRoots) {
            for (const uint32_t r : roots) {
                m_area[r] = m_area[m_area[r]];
            }
        }
        bandRoots = {};
        forEachPiece(bandCount, threads, [&](int64_t b) {
            for (uint32_t r = bandFirstRun[std::size_t(b)]; r < bandFirstRun[std::size_t(b) + 1]; ++r) {
                const uint32_t root = m_area[m_area[r]];
                if (root != m_area[r]) {
                    m_area[r] = root;
                }
            }
        });
    }
    // Each area's runs as a list from its root, in raster order.
    for (uint32_t r = n; r-- > 0;) {
        const uint32_t root = m_area[r];
        if (r != root) {
            m_next[r] = m_next[root];
            m_next[root] = r;
        }
    }
}

uint32_t OpenRuns::firstRunFrom(int32_t x, int32_t y) const {
    const auto begin = m_runs.begin() + m_rowStart[std::size_t(y)];
    const auto end = m_runs.begin() + m_rowStart[std::size_t(y) + 1];
    const auto it = std::lower_bound(begin, end, x, [](const Run& r, int32_t col) { return r.Right < col; });
    return uint32_t(it - m_runs.begin());
}

uint32_t OpenRuns::runAt(int32_t x, int32_t y) const {
    if (y < 0 || y >= m_height) {
        return kNone;
    }
    const uint32_t r = firstRunFrom(x, y);
    return r < rowEnd(y) && m_runs[r].Left <= x ? r : kNone;
}

} // namespace zg
