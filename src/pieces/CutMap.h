#pragma once

#include "gfx/Rect.h"
#include "pieces/UnwrittenAllocator.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zg {

/// The lowest pen value; every cell's pen lies in kPenBase .. kPenBase + 15.
constexpr uint8_t kPenBase = 0x10;

/// The pen value of the grid cell in column `col` and row `row`, both counted
/// from 0: 0x10 + ((row + 1) and 3) * 4 + ((col + 1) and 3). Neighbouring cells
/// (also diagonal ones) always get different values.
constexpr uint8_t cellPen(int32_t col, int32_t row) {
    return uint8_t(kPenBase + ((row + 1) & 3) * 4 + ((col + 1) & 3));
}

/// The byte map the cut lines are drawn into: one byte per picture pixel, row
/// major, top row first. 0 is the inside of a piece; a non-zero byte is a line
/// pixel holding the pen value of the piece that owns it.
struct CutMap {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t, UnwrittenAllocator<uint8_t>> Bytes; ///< Width * Height bytes

    /// Resizes to `width` x `height` (negative sizes count as 0) and zero-fills.
    void reset(int32_t width, int32_t height) {
        Width = width > 0 ? width : 0;
        Height = height > 0 ? height : 0;
        Bytes.assign(std::size_t(Width) * std::size_t(Height), 0);
    }
    /// Resizes to `width` x `height` (negative sizes count as 0) on fresh
    /// memory whose bytes are left unwritten: the caller writes every one.
    void resetUnwritten(int32_t width, int32_t height) {
        Width = width > 0 ? width : 0;
        Height = height > 0 ? height : 0;
        Bytes = {};
        Bytes.resize(std::size_t(Width) * std::size_t(Height));
    }
    /// Frees the bytes; the map becomes 0 x 0.
    void clear() {
        Width = 0;
        Height = 0;
        Bytes.clear();
        Bytes.shrink_to_fit();
    }
    constexpr bool contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < Width && y < Height;
    }
    /// The byte at (x, y); the caller keeps (x, y) inside the map.
    uint8_t at(int32_t x, int32_t y) const { return Bytes[index(x, y)]; }
    uint8_t& at(int32_t x, int32_t y) { return Bytes[index(x, y)]; }
    /// The offset of (x, y) in Bytes, computed without 32-bit overflow.
    std::size_t index(int32_t x, int32_t y) const {
        return std::size_t(y) * std::size_t(Width) + std::size_t(x);
    }
};

/// One point per grid cell, inside the cell's region, from which the labelling
/// step fills the piece. Indexed by column and row, both from 0.
struct SeedTable {
    int32_t Cols = 0;
    int32_t Rows = 0;
    std::vector<Point> Points; ///< column-major: Points[col * Rows + row]

    /// Resizes to `cols` x `rows` (negative counts as 0); every point is (0, 0).
    void reset(int32_t cols, int32_t rows) {
        Cols = cols > 0 ? cols : 0;
        Rows = rows > 0 ? rows : 0;
        Points.assign(std::size_t(Cols) * std::size_t(Rows), Point{});
    }
    void clear() {
        Cols = 0;
        Rows = 0;
        Points.clear();
        Points.shrink_to_fit();
    }
    /// The seed of the cell (col, row); the caller keeps both in range.
    const Point& at(int32_t col, int32_t row) const {
        return Points[std::size_t(col) * std::size_t(Rows) + std::size_t(row)];
    }
    Point& at(int32_t col, int32_t row) {
        return Points[std::size_t(col) * std::size_t(Rows) + std::size_t(row)];
    }
};

} // namespace zg
