#include "board/TDirty.h"

#include "gfx/RasterOps.h"
#include "gfx/SpriteBlit.h"
#include "host/Host.h"

namespace zg {

TDirty::TDirty(Host& host) : m_host(host) {}

void TDirty::SetBoard(Bitmap24& board) {
    m_currentCount = 0;
    m_previousCount = 0;
    m_work = &board;
    m_background = board;
}

void TDirty::ResetLists() {
    m_currentCount = 0;
    m_previousCount = 0;
}

void TDirty::CommitRect(const Rect& r) {
    if (m_work == nullptr || r.isEmpty()) {
        return;
    }
    copyRect(m_background, r.Left, r.Top, *m_work, r);
}

void TDirty::EraseSprites() {
    for (int32_t i = 0; i < m_currentCount; ++i) {
        const Rect& r = m_currentRects[std::size_t(i)];
        m_previousRects[std::size_t(i)] = r;
        if (m_work != nullptr && !r.isEmpty()) {
            copyRect(*m_work, r.Left, r.Top, m_background, r);
        }
    }
    m_previousCount = m_currentCount;
    m_currentCount = 0;
}

bool TDirty::record(const Rect& d) {
    if (m_currentCount >= kMaxRects) {
        return false;
    }
    m_currentRects[std::size_t(m_currentCount)] = d;
    ++m_currentCount;
    return true;
}

void TDirty::DrawSprite(const Rect& d, const Bitmap24& image, const Rect& s) {
    if (m_currentCount >= kMaxRects) {
        return;
    }
    if (m_work != nullptr) {
        copyRect(*m_work, d.Left, d.Top, image, Rect::fromSize(s.Left, s.Top, d.width(), d.height()));
    }
    record(d);
}

void TDirty::DrawMaskedSprite(const Rect& d, const Bitmap24& image, const Bitmap1& mask, const Rect& s) {
    if (m_currentCount >= kMaxRects) {
        return;
    }
    if (m_work != nullptr) {
        const Rect src = Rect::fromSize(s.Left, s.Top, d.width(), d.height());
        // (board AND mask) OR image in one pass.
        blitMaskedSprite(*m_work, d.Left, d.Top, image, mask, src);
    }
    record(d);
}

int32_t TDirty::MergeRects(const Rect* source, int32_t n, Rect* buffer, int32_t m) {
    std::array<int32_t, kMergeCapacity> hits{};
    for (int32_t i = 0; i < n; ++i) {
        const Rect& s = source[i];
        int32_t found = 0;
        for (int32_t j = 0; j < m && found < kMergeCapacity; ++j) {
            if (!isDead(buffer[j]) && buffer[j].intersects(s)) {
                hits[std::size_t(found++)] = j;
            }
        }
        if (found == 0) {
            if (m < kMergeCapacity) {
                buffer[m++] = s;
            }
            continue;
        }
        Rect& f = buffer[hits[0]];
        f = boundingBox(f, s);
        for (int32_t k = found - 1; k >= 1; --k) {
            Rect& other = buffer[hits[std::size_t(k)]];
            f = boundingBox(f, other);
            other.Left = kDeadLeft;
        }
    }
    return m;
}

void TDirty::Flush() {
    int32_t m = MergeRects(m_previousRects.data(), m_previousCount, m_mergeBuffer.data(), 0);
    m = MergeRects(m_currentRects.data(), m_currentCount, m_mergeBuffer.data(), m);
    const Rect bounds = m_work != nullptr ? m_work->bounds() : Rect{};
    for (int32_t j = 0; j < m; ++j) {
        const Rect& r = m_mergeBuffer[std::size_t(j)];
        if (isDead(r)) {
            continue;
        }
        // An empty or off-board rectangle would present nothing.
        const Rect visible = intersection(r, bounds);
        if (!visible.isEmpty()) {
            m_host.presentNow(visible);
        }
    }
}

} // namespace zg
