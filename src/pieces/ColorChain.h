#pragma once

#include <cstdint>
#include <vector>

namespace zg {

/// Finds, among colours not yet taken, the one nearest to a given colour:
/// the smallest squared RGB distance below 65,535, the lowest index on ties,
/// exactly as a scan of every colour in index order keeping the first
/// strictly nearer one would. The colours are kept in a grid of 16 x 16 x 16
/// boxes, so that a query looks only at the boxes that can still hold a
/// nearer colour instead of at every colour.
class ColorChainIndex {
public:
    /// @param keys colours as 0x00BBGGRR (higher bits are ignored), by index.
    explicit ColorChainIndex(const std::vector<int32_t>& keys);

    /// Takes colour `index` out: later queries no longer find it.
    void take(int32_t index);
    /// The index of the nearest colour still there to `key`, or -1 when
    /// every one is 65,535 or more away.
    int32_t nearest(int32_t key) const;

    /// Squared RGB distance of two 0x00BBGGRR colours.
    static int32_t distance(int32_t a, int32_t b);

private:
    static constexpr int32_t kBoxBits = 4; ///< a box spans 16 values per channel
    static constexpr int32_t kBoxes = 16;  ///< boxes per channel
    static int32_t boxOf(int32_t key);

    struct Best {
        int32_t distance;
        int32_t index;
    };
    void scanBox(int32_t box, int32_t key, Best& best) const;
    /// The smallest squared distance from `key` to any colour in `box`.
    static int32_t boxBound(int32_t box, int32_t key);

    std::vector<int32_t> m_keys;
    std::vector<std::vector<int32_t>> m_members; ///< per box, its indices in rising order
    std::vector<int32_t> m_used;                 ///< the boxes that hold colours
    std::vector<int32_t> m_usedSlot;             ///< per box, its place in m_used, -1 when empty
};

} // namespace zg
