#pragma once

#include <algorithm>
#include <cstdint>

namespace zg {

/// A point in board or picture pixels.
struct Point {
    int32_t X = 0;
    int32_t Y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

/// An axis-aligned rectangle; `Right` and `Bottom` are exclusive.
struct Rect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    static constexpr Rect fromSize(int32_t x, int32_t y, int32_t w, int32_t h) {
        return {x, y, x + w, y + h};
    }

    constexpr int32_t width() const { return Right - Left; }
    constexpr int32_t height() const { return Bottom - Top; }
    /// True when the rectangle covers no pixel.
    constexpr bool isEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool contains(int32_t x, int32_t y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    constexpr bool contains(Point p) const { return contains(p.X, p.Y); }
    /// True when `r` lies wholly inside this rectangle.
    constexpr bool contains(const Rect& r) const {
        return r.Left >= Left && r.Top >= Top && r.Right <= Right && r.Bottom <= Bottom;
    }
    constexpr bool intersects(const Rect& r) const {
        return !isEmpty() && !r.isEmpty() && r.Left < Right && Left < r.Right && r.Top < Bottom &&
               Top < r.Bottom;
    }
    constexpr Rect offset(int32_t dx, int32_t dy) const {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    constexpr Rect inflate(int32_t dx, int32_t dy) const {
        return {Left - dx, Top - dy, Right + dx, Bottom + dy};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

/// The common part of two rectangles; empty (all zero) when they do not overlap.
constexpr Rect intersection(const Rect& a, const Rect& b) {
    Rect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
           std::min(a.Bottom, b.Bottom)};
    return r.isEmpty() ? Rect{} : r;
}

/// The bounding box of two rectangles. An empty rectangle does not count, so the
/// bounding box of an empty and a non-empty rectangle is the non-empty one.
constexpr Rect boundingBox(const Rect& a, const Rect& b) {
    if (a.isEmpty()) {
        return b;
    }
    if (b.isEmpty()) {
        return a;
    }
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

} // namespace zg
