#include "pieces/OpenRuns.h"

#include "pieces/ByteRuns.h"

#include <algorithm>
#include <stdexcept>

namespace zg {

namespace {

/// Union-find over run indices: every link points to a smaller index, so an
/// area's root is its first run in raster order.
uint32_t findRoot(std::vector<uint32_t>& parent, uint32_t x) {
    while (parent[x] != x) {
        parent[x] = parent[parent[x]];
        x = parent[x];
    }
    return x;
}

void unite(std::vector<uint32_t>& parent, uint32_t a, uint32_t b) {
    const uint32_t ra = findRoot(parent, a);
    const uint32_t rb = findRoot(parent, b);
    if (ra < rb) {
        parent[rb] = ra;
    } else if (rb < ra) {
        parent[ra] = rb;
    }
}

} // namespace

OpenRuns::OpenRuns(const CutMap& map) : m_width(std::max(map.Width, 0)), m_height(std::max(map.Height, 0)) {
    const auto w = std::size_t(std::max(map.Width, 0));
    const uint8_t* const bytes = map.Bytes.data();
    m_rowStart.reserve(std::size_t(m_height) + 1);
    // Room for a run per 16 pixels, far more than a cut has: the vector then
    // never moves while it grows, and pages it does not reach cost nothing.
    m_runs.reserve(map.Bytes.size() / 16 + 16);
    for (int32_t y = 0; y < m_height; ++y) {
        m_rowStart.push_back(uint32_t(m_runs.size()));
        const uint8_t* const row = bytes + std::size_t(y) * w;
        for (std::size_t k = byteruns::findByte(row, 0, w, 0); k < w;) {
            const std::size_t end = byteruns::findOtherByte(row, k, w, 0);
            m_runs.push_back({y, int32_t(k), int32_t(end - 1)});
            k = byteruns::findByte(row, end, w, 0);
        }
        if (m_runs.size() >= kNone) {
            throw std::length_error("the cut map has too many open runs");
        }
    }
    m_rowStart.push_back(uint32_t(m_runs.size()));

    // Runs on neighbouring rows that share a column touch.
    const auto n = uint32_t(m_runs.size());
    m_area.resize(n);
    for (uint32_t r = 0; r < n; ++r) {
        m_area[r] = r;
    }
    for (int32_t y = 1; y < m_height; ++y) {
        uint32_t i = m_rowStart[std::size_t(y) - 1];
        const uint32_t iEnd = m_rowStart[std::size_t(y)];
        uint32_t j = iEnd;
        const uint32_t jEnd = m_rowStart[std::size_t(y) + 1];
        while (i < iEnd && j < jEnd) {
            const Run& a = m_runs[i];
            const Run& b = m_runs[j];
            if (a.Left <= b.Right && b.Left <= a.Right) {
                unite(m_area, i, j);
            }
            if (a.Right < b.Right) {
                ++i;
            } else {
                ++j;
            }
        }
    }
    // Links point to smaller indices, so one forward pass resolves every root.
    for (uint32_t r = 0; r < n; ++r) {
        m_area[r] = m_area[m_area[r]];
    }
    // Each area's runs as a list from its root, in raster order.
    m_next.assign(n, kNone);
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
