#include "pieces/ColorChain.h"

#include <algorithm>
#include <cstdlib>

namespace zg {

namespace {

constexpr int32_t kFarthest = 65535; ///< distances from here on never count

int32_t red(int32_t key) {
    return key & 0xFF;
}
int32_t green(int32_t key) {
    return (key >> 8) & 0xFF;
}
int32_t blue(int32_t key) {
    return (key >> 16) & 0xFF;
}

/// The squared distance from value v to the range [lo, lo + span).
int32_t axisGap(int32_t v, int32_t lo, int32_t span) {
    const int32_t d = v < lo ? lo - v : (v >= lo + span ? v - (lo + span - 1) : 0);
    return d * d;
}

} // namespace

int32_t ColorChainIndex::distance(int32_t a, int32_t b) {
    const int32_t dr = red(a) - red(b);
    const int32_t dg = green(a) - green(b);
    const int32_t db = blue(a) - blue(b);
    return dr * dr + dg * dg + db * db;
}

int32_t ColorChainIndex::boxOf(int32_t key) {
    return ((blue(key) >> kBoxBits) * kBoxes + (green(key) >> kBoxBits)) * kBoxes + (red(key) >> kBoxBits);
}

int32_t ColorChainIndex::boxBound(int32_t box, int32_t key) {
    constexpr int32_t span = 1 << kBoxBits;
    const int32_t r = box % kBoxes;
    const int32_t g = box / kBoxes % kBoxes;
    const int32_t b = box / (kBoxes * kBoxes);
    return axisGap(red(key), r * span, span) + axisGap(green(key), g * span, span) +
           axisGap(blue(key), b * span, span);
}

ColorChainIndex::ColorChainIndex(const std::vector<int32_t>& keys)
    : m_keys(keys), m_members(std::size_t(kBoxes * kBoxes * kBoxes)), m_usedSlot(m_members.size(), -1) {
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const int32_t box = boxOf(m_keys[i]);
        if (m_members[std::size_t(box)].empty()) {
            m_usedSlot[std::size_t(box)] = int32_t(m_used.size());
            m_used.push_back(box);
        }
        m_members[std::size_t(box)].push_back(int32_t(i));
    }
}

void ColorChainIndex::take(int32_t index) {
    if (index < 0 || std::size_t(index) >= m_keys.size()) {
        return;
    }
    const int32_t box = boxOf(m_keys[std::size_t(index)]);
    std::vector<int32_t>& members = m_members[std::size_t(box)];
    const auto it = std::lower_bound(members.begin(), members.end(), index);
    if (it == members.end() || *it != index) {
        return;
    }
    members.erase(it);
    if (members.empty()) {
        // The last used box takes the emptied box's place in the list.
        const int32_t slot = m_usedSlot[std::size_t(box)];
        const int32_t moved = m_used.back();
        m_used[std::size_t(slot)] = moved;
        m_usedSlot[std::size_t(moved)] = slot;
        m_used.pop_back();
        m_usedSlot[std::size_t(box)] = -1;
    }
}

void ColorChainIndex::scanBox(int32_t box, int32_t key, Best& best) const {
    for (const int32_t i : m_members[std::size_t(box)]) {
        const int32_t d = distance(key, m_keys[std::size_t(i)]);
        if (d < best.distance || (d == best.distance && i < best.index)) {
            best = {d, i};
            if (d == 0) {
                // Every colour equal to the key lies in this box, in rising
                // index order: nothing can beat the first one.
                return;
            }
        }
    }
}

int32_t ColorChainIndex::nearest(int32_t key) const {
    // Best starts just out of reach, with an index past every colour, so that
    // only distances below kFarthest are taken.
    Best best{kFarthest, INT32_MAX};
    const int32_t home = boxOf(key);
    // The key's own box first: it usually holds a near colour, which then
    // rules out most other boxes.
    scanBox(home, key, best);
    if (best.distance == 0) {
        return best.index;
    }
    // Then the shells of boxes around it, nearest shell first: every colour
    // in shell s is at least 16 (s - 1) + 1 away along one channel, so the
    // search stops at the first shell that cannot hold a nearer or equally
    // near colour. Once the shells would cost more boxes than are still in
    // use, the used boxes are looked at instead.
    const int32_t hr = home % kBoxes;
    const int32_t hg = home / kBoxes % kBoxes;
    const int32_t hb = home / (kBoxes * kBoxes);
    int64_t looked = 1;
    for (int32_t s = 1; s < kBoxes; ++s) {
        const int32_t reach = (1 << kBoxBits) * (s - 1) + 1;
        if (reach * reach > best.distance) {
            return best.distance < kFarthest ? best.index : -1;
        }
        const int64_t side = 2 * s + 1;
        looked += side * side * side - (side - 2) * (side - 2) * (side - 2);
        if (looked > int64_t(m_used.size())) {
            break;
        }
        for (int32_t b = std::max(hb - s, 0); b <= std::min(hb + s, kBoxes - 1); ++b) {
            for (int32_t g = std::max(hg - s, 0); g <= std::min(hg + s, kBoxes - 1); ++g) {
                const bool inner = std::abs(b - hb) < s && std::abs(g - hg) < s;
                // Inside the shell's faces in blue and green only the two red ends belong to it.
                const int32_t step = inner ? 2 * s : 1;
                for (int32_t r = hr - s; r <= hr + s; r += step) {
                    if (r < 0 || r >= kBoxes) {
                        continue;
                    }
                    const int32_t box = (b * kBoxes + g) * kBoxes + r;
                    if (!m_members[std::size_t(box)].empty() && boxBound(box, key) <= best.distance) {
                        scanBox(box, key, best);
                    }
                }
            }
        }
    }
    for (const int32_t box : m_used) {
        if (box != home && boxBound(box, key) <= best.distance) {
            scanBox(box, key, best);
        }
    }
    return best.distance < kFarthest ? best.index : -1;
}

} // namespace zg
