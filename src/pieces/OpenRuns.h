#pragma once

#include "pieces/CutMap.h"
#include "pieces/UnwrittenAllocator.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zg {

/// The open areas of a cut map, found in one pass over its rows: every run of
/// 0 bytes on a row, and for each run the 4-connected area it belongs to.
/// An area is named by its first run in raster order (its root), and its runs
/// can be walked in raster order from there. The runs describe the map as it
/// was when they were found; an area whose pixels are later written over
/// stays listed.
class OpenRuns {
public:
    static constexpr uint32_t kNone = UINT32_MAX;

    /// Left uninitialised by default, so that a large table of them can be
    /// made without writing it twice; Run{} is all 0.
    struct Run {
        int32_t Row;
        int32_t Left;  ///< first column
        int32_t Right; ///< last column (inclusive)
    };

    /// No runs: describes no map.
    OpenRuns() = default;
    /// Finds the runs on `threads` threads (1: only the calling one); the
    /// result is the same for any number.
    /// @pre map.Bytes holds Width * Height bytes.
    /// @throws std::length_error when the map has more runs than 32-bit indices can name.
    explicit OpenRuns(const CutMap& map, int32_t threads = 1);

    /// True when the runs were found on a map of the size of `map` (whose
    /// open areas may since have been filled whole).
    bool describes(const CutMap& map) const {
        return !m_rowStart.empty() && m_width == map.Width && m_height == map.Height;
    }

    std::size_t runCount() const { return m_runs.size(); }
    const Run& run(uint32_t r) const { return m_runs[r]; }
    /// The root run of the area that run r belongs to.
    uint32_t areaOf(uint32_t r) const { return m_area[r]; }
    bool isRoot(uint32_t r) const { return m_area[r] == r; }
    /// The next run of the same area in raster order, or kNone.
    uint32_t nextInArea(uint32_t r) const { return m_next[r]; }
    /// The run holding pixel (x, y), or kNone when the pixel is not open or
    /// lies outside the map.
    uint32_t runAt(int32_t x, int32_t y) const;
    /// The first run of row y whose last column is at or after x (it may
    /// start after x), or the end of the row's runs.
    uint32_t firstRunFrom(int32_t x, int32_t y) const;
    /// One past the last run of row y.
    uint32_t rowEnd(int32_t y) const { return m_rowStart[std::size_t(y) + 1]; }

    /// Calls visit(run) for every run of the area with root `root`, in raster order.
    template <class Visit> void forEachRun(uint32_t root, Visit&& visit) const {
        for (uint32_t r = root; r != kNone; r = m_next[r]) {
            visit(m_runs[r]);
        }
    }

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::vector<Run, UnwrittenAllocator<Run>> m_runs;
    std::vector<uint32_t> m_rowStart; ///< index of each row's first run; Height + 1 entries
    std::vector<uint32_t, UnwrittenAllocator<uint32_t>> m_area;
    std::vector<uint32_t, UnwrittenAllocator<uint32_t>> m_next;
};

} // namespace zg
