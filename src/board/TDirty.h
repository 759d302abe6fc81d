#pragma once

#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"
#include "gfx/Rect.h"

#include <array>
#include <cstdint>

namespace zg {

class Host;

/// The sprite layer that lets a lifted piece, group or tray move over the board
/// without redrawing the board. It keeps a private copy of the back buffer
/// without sprites (the background); each frame it restores the background
/// under last frame's sprite rectangles, draws the sprite at its new place and
/// presents only the changed rectangles, merged so overlapping areas go once.
///
/// All bookkeeping lives in fixed arrays: nothing is allocated per frame.
class TDirty {
public:
    static constexpr int32_t kMaxRects = 16;      ///< sprite rectangles per frame
    static constexpr int32_t kMergeCapacity = 32; ///< previous + current
    static constexpr int32_t kDeadLeft = 32767;   ///< `Left` of a merged-away entry

    /// @param host receives the merged rectangles through presentNow; must outlive the object.
    explicit TDirty(Host& host);
    TDirty(const TDirty&) = delete;
    TDirty& operator=(const TDirty&) = delete;

    /// Takes `board` as the working bitmap (not owned; must outlive its use
    /// here) and makes the background a full copy of it. Both lists empty.
    void SetBoard(Bitmap24& board);
    /// Empties both lists without touching any pixel; the first frame of a lift.
    void ResetLists();
    /// Copies `r` of the working bitmap into the background: whatever is drawn
    /// there now becomes static board content.
    void CommitRect(const Rect& r);
    /// Restores the background under every rectangle drawn this frame and makes
    /// them the previous frame's rectangles.
    void EraseSprites();
    /// Opaque copy of `s` of `image` to `d` of the working bitmap (same size).
    /// Ignored entirely once this frame already holds kMaxRects rectangles.
    void DrawSprite(const Rect& d, const Bitmap24& image, const Rect& s);
    /// Transparent copy: each pixel of `d` becomes (board AND mask) OR image.
    /// The mask is black where the sprite covers the board; the image is black
    /// outside the sprite. Ignored once this frame holds kMaxRects rectangles.
    void DrawMaskedSprite(const Rect& d, const Bitmap24& image, const Bitmap1& mask, const Rect& s);
    /// Merges the previous and current rectangles and presents each merged
    /// rectangle of the working bitmap through the host. The lists are kept.
    void Flush();

    /// Merges `n` source rectangles into `buffer`, which already holds `m`
    /// entries, in one pass: a source meeting live entries absorbs them (the
    /// first one grows, the others are marked dead); one meeting none is
    /// appended. Returns the new entry count.
    /// @pre m + n <= kMergeCapacity.
    static int32_t MergeRects(const Rect* source, int32_t n, Rect* buffer, int32_t m);
    static bool isDead(const Rect& r) { return r.Left == kDeadLeft; }

    int32_t CurrentCount() const { return m_currentCount; }
    int32_t PreviousCount() const { return m_previousCount; }
    const Rect& CurrentRect(int32_t i) const { return m_currentRects[std::size_t(i)]; }
    const Rect& PreviousRect(int32_t i) const { return m_previousRects[std::size_t(i)]; }
    const Bitmap24& Background() const { return m_background; }
    /// The working bitmap, or nullptr before the first SetBoard.
    const Bitmap24* WorkBitmap() const { return m_work; }

private:
    bool record(const Rect& d);

    Host& m_host;
    int32_t m_currentCount = 0;
    int32_t m_previousCount = 0;
    std::array<Rect, kMaxRects> m_previousRects{};
    std::array<Rect, kMaxRects> m_currentRects{};
    std::array<Rect, kMergeCapacity> m_mergeBuffer{};
    Bitmap24* m_work = nullptr;
    Bitmap24 m_background;
};

} // namespace zg
