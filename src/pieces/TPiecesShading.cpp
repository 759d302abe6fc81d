// Shading the pieces: the bevel of every outline style and the wooden side
// faces, built once per piece into run-length sprites and painted with it.
#include "pieces/TPieces.h"

#include "gfx/Jpeg.h"
#include "gfx/Resources.h"
#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <vector>

namespace zg {

namespace {

constexpr uint8_t kLighten = 50; // +50 on every channel
constexpr uint8_t kDarken = 186; // read as a signed byte: -70

/// True when the pixel (x, y) of `mask` is on a piece (a black, clear bit).
inline bool inside(const Bitmap1& mask, int32_t x, int32_t y) {
    return (mask.row(y)[x >> 3] & (0x80 >> (x & 7))) == 0;
}

/// Writes the bevel of the w x h piece whose mask starts at `origin` into
/// `bytes` (w per row, cleared by the caller): walking every down-right
/// diagonal, each crossing of the piece gets a lit band of up to `width`
/// pixels where it enters and a dark band where it leaves.
void outlineBytes(const Bitmap1& mask, Point origin, int32_t w, int32_t h, int32_t width,
                  std::vector<uint8_t>& bytes) {
    for (int32_t d = 0; d <= w + h - 2; ++d) {
        const int32_t x0 = d < h ? 0 : d - h + 1;
        const int32_t y0 = d < h ? h - 1 - d : 0;
        const int32_t length = d < h ? std::min(d + 1, w) : std::min(w - x0, h);
        const auto at = [&](int32_t j) -> uint8_t& {
            return bytes[std::size_t(y0 + j) * std::size_t(w) + std::size_t(x0 + j)];
        };
        int32_t s = 0, lit = 0, n = 0;
        for (int32_t j = 0; j < length; ++j) {
            const bool in = inside(mask, origin.X + x0 + j, origin.Y + y0 + j);
            const bool last = j == length - 1;
            if (!in || last) {
                if (s != 0) {
                    const int32_t g = (lit + std::min(width, n) + 1) / 2;
                    // The dark band ends before an outside pixel, or with an
                    // inside pixel that ends the diagonal.
                    const int32_t end = in ? j : j - 1;
                    for (int32_t k = std::max(0, end - g + 1); k <= end; ++k) {
                        at(k) = kDarken;
                    }
                }
                s = 0;
            } else if (s == 0) {
                s = 1;
                lit = 1;
                n = 0;
                at(j) = kLighten;
            } else if (s == 1) {
                if (lit < width) {
                    ++lit;
                    at(j) = kLighten;
                } else {
                    s = 2;
                }
            } else {
                ++n;
            }
        }
    }
}

/// Writes the side face of the w x h piece into `bytes` (w per row, h +
/// thickness rows, cleared by the caller): the piece's shape pushed down by
/// the thickness, minus the piece, textured from `texture` whose indices are
/// stored plus one (0 stays transparent).
void woodBytes(const Bitmap1& mask, Point origin, int32_t w, int32_t h, int32_t thickness,
               const Bitmap8& texture, int32_t textureX, std::vector<uint8_t>& bytes) {
    for (int32_t x = 0; x < w; ++x) {
        const int32_t tx = int32_t((int64_t(textureX) + x) % texture.width);
        int32_t k = 0;
        for (int32_t y = 0; y < h + thickness; ++y) {
            if (y < h && inside(mask, origin.X + x, origin.Y + y)) {
                k = thickness;
            } else if (k > 0) {
                bytes[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                    uint8_t(texture.at(tx, y % texture.height) + 1);
                --k;
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
    std::vector<uint8_t> bytes(std::size_t(w) * std::size_t(h + thickness), 0);
    outlineBytes(MaskAtlas, origin, w, h, OutlineWidth, bytes);
    piece.OutlineSprite = OutlineCoder.encode(w, h, bytes.data(), std::size_t(w));
    if (!wood) {
        piece.WoodSprite.clear();
        return;
    }
    std::fill(bytes.begin(), bytes.end(), uint8_t(0));
    // Upright pieces take the grain from their place in the picture, so
    // neighbours' sides differ; turned ones start at the texture's left.
    const int32_t textureX = piece.Rotation == 0 ? piece.HomeX : 0;
    woodBytes(MaskAtlas, origin, w, h, thickness, WoodTexture, textureX, bytes);
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
