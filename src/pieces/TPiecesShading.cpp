// Shading the pieces: the bevel of every outline style and the wooden side
// faces, built once per piece into run-length sprites and painted with it.
#include "pieces/TPieces.h"

#include "gfx/Jpeg.h"
#include "gfx/Resources.h"
#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace zg {

namespace {

constexpr uint8_t kLighten = 50; // +50 on every channel
constexpr uint8_t kDarken = 186; // read as a signed byte: -70

/// True when the pixel (x, y) of `mask` is on a piece (a black, clear bit).
inline bool inside(const Bitmap1& mask, int32_t x, int32_t y) {
    return (mask.row(y)[x >> 3] & (0x80 >> (x & 7))) == 0;
}

/// For every mask byte, its eight pixels as bytes, leftmost first: 1 for a
/// pixel on the piece (a clear bit), 0 for one off it.
constexpr auto kInsideBytes = [] {
    std::array<std::array<uint8_t, 8>, 256> t{};
    for (int m = 0; m < 256; ++m) {
        for (int b = 0; b < 8; ++b) {
            t[std::size_t(m)][std::size_t(b)] = (m & (0x80 >> b)) == 0 ? 1 : 0;
        }
    }
    return t;
}();

/// Writes row y of the w-pixel-wide piece whose mask starts at `origin` into
/// `in`, one byte per pixel: 1 on the piece, 0 off it.
void unpackMaskRow(const Bitmap1& mask, Point origin, int32_t y, int32_t w, uint8_t* in) {
    int32_t x = 0;
    if ((origin.X & 7) == 0) {
        // Cells start on whole mask bytes: eight pixels at a time.
        const uint8_t* bits = mask.row(origin.Y + y) + (origin.X >> 3);
        for (; x + 8 <= w; x += 8, ++bits) {
            std::memcpy(in + x, kInsideBytes[*bits].data(), 8);
        }
    }
    for (; x < w; ++x) {
        in[x] = inside(mask, origin.X + x, origin.Y + y) ? 1 : 0;
    }
}

/// Sixteen bytes worked on at once (the compiler maps them onto the
/// processor's vector registers where it has them).
using Bytes16 = uint8_t __attribute__((vector_size(16)));

inline Bytes16 load16(const uint8_t* p) {
    Bytes16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store16(uint8_t* p, Bytes16 v) {
    std::memcpy(p, &v, sizeof v);
}
inline bool anySet(Bytes16 v) {
    uint64_t halves[2];
    std::memcpy(halves, &v, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}
/// What comparing two Bytes16 gives: -1 where it holds, 0 elsewhere.
using Holds16 = signed char __attribute__((vector_size(16)));
/// 0xFF where the comparison holds, 0 elsewhere.
inline Bytes16 mask16(Holds16 v) {
    return reinterpret_cast<Bytes16>(v);
}

constexpr int32_t kFar = 255; // run distances stop counting here

/// One more than `d` where that still fits a byte.
inline Bytes16 countOn(Bytes16 d) {
    return d + (mask16(d != uint8_t(kFar)) & uint8_t(1));
}

/// The bevel value of a pixel `fromStart` pixels after its run entered the
/// piece (1 on the first) and `toEnd` pixels before it leaves (1 on the
/// last), `remaining` pixels from the end of its diagonal in the box; see
/// outlineBytes.
inline uint8_t bevelAt(int32_t fromStart, int32_t toEnd, int32_t remaining, int32_t width) {
    if (toEnd == 0 || (fromStart > width && toEnd > width)) {
        return 0; // off the piece, or deeper than either band reaches
    }
    const bool reachesBoxEnd = toEnd == remaining;
    const int32_t counted = fromStart + toEnd - 1 - (reachesBoxEnd ? 1 : 0);
    if (counted <= 0) {
        return 0;
    }
    const int32_t lit = std::min(width, counted);
    const int32_t beyond = std::max(0, counted - width - 1);
    const int32_t dark = (lit + std::min(width, beyond) + 1) / 2;
    return toEnd <= dark ? kDarken : fromStart <= lit ? kLighten : 0;
}

constexpr int32_t kWideBands = 60; // wider bands would overflow bevel16's byte sums

/// The bevel values of sixteen pixels side by side, as bevelAt gives them,
/// from their distances to their runs' ends (`toEnd`, 0 off the piece), the
/// distances from their runs' starts in the row above one column left
/// (`above`), and how many pixels remain of each one's diagonal (`remaining`,
/// at most kFar). Stores the pixels' own distances from their runs' starts
/// at `starts`.
/// @pre 1 <= width <= kWideBands.
inline Bytes16 bevel16(Bytes16 toEnd, Bytes16 above, Bytes16 remaining, uint8_t width, uint8_t* starts) {
    const Bytes16 on = mask16(toEnd != 0);
    const Bytes16 fromStart = countOn(above) & on;
    store16(starts, fromStart);
    // Only the first 2 * width + 2 pixels of a run count for its bands, which
    // keeps the sums below within a byte.
    const auto cap = uint8_t(2 * width + 2);
    const Bytes16 fromCapped = fromStart < cap ? fromStart : Bytes16{} + cap;
    const Bytes16 toCapped = toEnd < cap ? toEnd : Bytes16{} + cap;
    const Bytes16 reachesBoxEnd = mask16(toEnd == remaining) & uint8_t(1);
    const Bytes16 counted = (fromCapped + toCapped - uint8_t(1) - reachesBoxEnd) & on;
    const Bytes16 lit = counted < width ? counted : Bytes16{} + width;
    const Bytes16 beyond = counted > uint8_t(width + 1) ? counted - uint8_t(width + 1) : Bytes16{};
    const Bytes16 dark = (lit + (beyond < width ? beyond : Bytes16{} + width) + uint8_t(1)) >> 1;
    const Bytes16 value =
        toEnd <= dark ? Bytes16{} + kDarken : (fromStart <= lit ? Bytes16{} + kLighten : Bytes16{});
    return value & mask16(counted != 0);
}

/// Writes the bevel of the w x h piece whose mask starts at `origin` into
/// the first w x h of `bytes` (w per row; every one of them is written).
/// Along every down-right diagonal, each crossing of the piece (a run of
/// pixels on it) gets a lit band where it enters and a dark band where it
/// leaves:
/// - a run that ends on the box's last row or column leaves its last pixel
///   out of the count, and a one-pixel run there gets nothing;
/// - of the L pixels counted, the first min(width, L) are lit;
/// - the last g pixels of the run are dark (dark wins over lit), where
///   g = (min(width, L) + min(width, L - width - 1 when positive) + 1) / 2.
/// Instead of walking each diagonal, every pixel's distance to where its run
/// leaves (counted bottom-up) and from where it entered (counted top-down)
/// is carried from row to row, sixteen pixels at a time.
/// @pre 1 <= width <= 120 (the distances are kept in bytes).
void outlineBytes(const Bitmap1& mask, Point origin, int32_t w, int32_t h, int32_t width,
                  std::vector<uint8_t>& bytes, std::vector<uint8_t>& scratch) {
    // The unpacked mask row, then the distances from the run's start of the
    // row above and of this row, each with one 0 in front for column -1, then
    // how far each column is from the box's right edge.
    const std::size_t span = std::size_t(w) + 1;
    scratch.assign(4 * span, 0);
    uint8_t* in = scratch.data();
    uint8_t* prev = scratch.data() + span + 1;
    uint8_t* cur = scratch.data() + 2 * span + 1;
    uint8_t* columnsLeft = scratch.data() + 3 * span;
    for (int32_t x = 0; x < w; ++x) {
        columnsLeft[x] = uint8_t(std::min(w - x, kFar));
    }
    // Bottom-up: the distance to the run's end, 1 on its last pixel, into bytes.
    for (int32_t y = h - 1; y >= 0; --y) {
        unpackMaskRow(mask, origin, y, w, in);
        uint8_t* out = bytes.data() + std::size_t(y) * std::size_t(w);
        if (y == h - 1) {
            std::memcpy(out, in, std::size_t(w));
            continue;
        }
        const uint8_t* below = out + w;
        int32_t x = 0;
        for (; x + 16 < w; x += 16) {
            store16(out + x, countOn(load16(below + x + 1)) & mask16(load16(in + x) != 0));
        }
        for (; x + 1 < w; ++x) {
            const uint8_t next = below[x + 1];
            out[x] = in[x] != 0 ? uint8_t(next + (next != kFar ? 1 : 0)) : 0;
        }
        out[w - 1] = in[w - 1];
    }
    // Top-down: the distance from the run's start, 1 on its first pixel,
    // carried in the row buffers; each pixel's bevel replaces its distance.
    const bool wide = width > kWideBands || w < 16;
    const auto bands = uint8_t(std::min(width, kWideBands));
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* out = bytes.data() + std::size_t(y) * std::size_t(w);
        const int32_t rowsLeft = h - y;
        if (wide) {
            for (int32_t x = 0; x < w; ++x) {
                const int32_t toEnd = out[x];
                const int32_t fromStart = toEnd != 0 ? std::min(prev[x - 1] + 1, kFar) : 0;
                cur[x] = uint8_t(fromStart);
                out[x] = bevelAt(fromStart, toEnd, std::min(w - x, rowsLeft), width);
            }
            std::swap(prev, cur);
            continue;
        }
        const Bytes16 rows = Bytes16{} + uint8_t(std::min(rowsLeft, kFar));
        const auto remainingAt = [&](int32_t x) {
            const Bytes16 columns = load16(columnsLeft + x);
            return columns < rows ? columns : rows;
        };
        // The last sixteen columns, read before the chunks overwrite them, are
        // done as one more chunk that overlaps the others with equal results.
        const int32_t lastX = w - 16;
        const Bytes16 lastToEnd = load16(out + lastX);
        const Bytes16 lastAbove = load16(prev + lastX - 1);
        for (int32_t x = 0; x + 16 <= w; x += 16) {
            const Bytes16 toEnd = load16(out + x);
            const Bytes16 above = load16(prev + x - 1);
            if (!anySet(toEnd)) {
                store16(cur + x, Bytes16{});
                continue; // wholly off the piece: already 0
            }
            store16(out + x, bevel16(toEnd, above, remainingAt(x), bands, cur + x));
        }
        store16(out + lastX, bevel16(lastToEnd, lastAbove, remainingAt(lastX), bands, cur + lastX));
        std::swap(prev, cur);
    }
}

/// Writes the side face of the w x h piece into `bytes` (w per row, h +
/// thickness rows, cleared by the caller): the piece's shape pushed down by
/// the thickness, minus the piece, textured from `texture` whose indices are
/// stored plus one (0 stays transparent). Goes row by row, carrying for each
/// column how many more pixels of side face hang below the piece.
void woodBytes(const Bitmap1& mask, Point origin, int32_t w, int32_t h, int32_t thickness,
               const Bitmap8& texture, int32_t textureX, std::vector<uint8_t>& bytes,
               std::vector<uint8_t>& scratch) {
    scratch.assign(2 * std::size_t(w), 0);
    uint8_t* const in = scratch.data();
    uint8_t* const hanging = in + w;
    std::vector<int32_t> textureColumn(std::size_t(w), 0);
    for (int32_t x = 0; x < w; ++x) {
        textureColumn[std::size_t(x)] = int32_t((int64_t(textureX) + x) % texture.width);
    }
    const auto side = uint8_t(std::min(thickness, 255));
    for (int32_t y = 0; y < h + thickness; ++y) {
        uint8_t* out = bytes.data() + std::size_t(y) * std::size_t(w);
        const uint8_t* texels =
            texture.indices.data() + std::size_t(y % texture.height) * std::size_t(texture.width);
        if (y < h) {
            unpackMaskRow(mask, origin, y, w, in);
        } else {
            std::memset(in, 0, std::size_t(w));
        }
        for (int32_t x = 0; x < w; ++x) {
            if (in[x] != 0) {
                hanging[x] = side;
            } else if (hanging[x] > 0) {
                out[x] = uint8_t(texels[textureColumn[std::size_t(x)]] + 1);
                --hanging[x];
            }
        }
    }
}

} // namespace

void TPieces::loadWoodTexture() {
    // At most 254 colours, stored one up, so that index 0 stays the coder's
    // transparent value and no texel becomes a hole.
    Bitmap8 texture = decodeJpegPalette(loadResource("Solid", "JPG"), 254);
    if (texture.width <= 0 || texture.height <= 0 || texture.palette.empty()) {
        throw ResourceError("Can't load resource: Solid");
    }
    std::vector<Color> shifted(1, rgb(0, 0, 0));
    shifted.insert(shifted.end(), texture.palette.begin(), texture.palette.end());
    WoodCoder.loadColours(shifted);
    WoodTexture = std::move(texture);
}

void TPieces::computeShadingSizes() {
    OutlineWidth = outlineStyle() == kOutlinePaper ? 1 : std::clamp<int32_t>(State.PieceWidth / 40, 2, 6);
    WoodThickness = std::clamp<int32_t>(State.PieceHeight / 15, 1, 20);
}

void TPieces::buildShading() {
    computeShadingSizes();
    forEachPiece(pieceCount(), WorkerThreads, [&](int64_t i) { buildPieceShading(*Pieces[std::size_t(i)]); });
}

void TPieces::buildPieceShading(TFormPiece& piece) const {
    const int32_t style = outlineStyle();
    const int32_t w = piece.Width;
    const int32_t h = piece.Height;
    const Rect cell = Rect::fromSize(piece.CellX, piece.CellY, w, h);
    if (style == kOutlineNone || w == 0 || h == 0 || !MaskAtlas.bounds().contains(cell)) {
        piece.OutlineSprite.clear();
        piece.WoodSprite.clear();
        return;
    }
    // The mask of the piece as it lies now: its cell, turned with the piece.
    const Point origin{piece.CellX, piece.CellY};
    const bool wood = style == kOutlineWood && WoodTexture.width > 0;
    const int32_t thickness = wood ? WoodThickness : 0;
    // Work buffers of the thread, kept from piece to piece; outlineBytes
    // writes every byte of the first w x h, the side face needs them cleared.
    thread_local std::vector<uint8_t> bytes;
    thread_local std::vector<uint8_t> rows;
    const std::size_t used = std::size_t(w) * std::size_t(h + thickness);
    if (bytes.size() < used) {
        bytes.resize(used);
    }
    outlineBytes(MaskAtlas, origin, w, h, std::clamp(OutlineWidth, 1, 120), bytes, rows);
    piece.OutlineSprite = OutlineCoder.encode(w, h, bytes.data(), std::size_t(w));
    if (!wood) {
        piece.WoodSprite.clear();
        return;
    }
    std::fill_n(bytes.begin(), used, uint8_t(0));
    // Upright pieces take the grain from their place in the picture, so
    // neighbours' sides differ; turned ones start at the texture's left.
    const int32_t textureX = piece.Rotation == 0 ? piece.HomeX : 0;
    woodBytes(MaskAtlas, origin, w, h, thickness, WoodTexture, textureX, bytes, rows);
    piece.WoodSprite = WoodCoder.encode(w, h + thickness, bytes.data(), std::size_t(w));
}

void TPieces::drawOutline(const TFormPiece& piece, Bitmap24& target, const Rect& clip) const {
    if (!piece.OutlineSprite.empty()) {
        OutlineCoder.paint(piece.OutlineSprite, target, &clip, piece.Height, piece.Width, piece.Top,
                           piece.Left);
    }
}

void TPieces::drawWoodSide(const TFormPiece& piece, Bitmap24& target, const Rect& clip) const {
    if (!piece.Hidden && !piece.WoodSprite.empty()) {
        WoodCoder.paint(piece.WoodSprite, target, &clip, piece.Height + WoodThickness, piece.Width, piece.Top,
                        piece.Left);
    }
}

} // namespace zg
