// Drawing pieces from the atlases: the piece set's operations that compose
// pieces onto the back buffer and into drag masks.
#include "pieces/TPieces.h"

#include "gfx/RasterOps.h"
#include "gfx/SpriteBlit.h"

namespace zg {

namespace {
/// The part of the atlas cell of `piece` that lands inside `visible` when the
/// piece is drawn at its board rectangle; `at` receives the board top-left.
Rect visibleCell(const TFormPiece& piece, const Rect& visible, Point& at) {
    const Rect board = piece.boardRect();
    const Rect r = intersection(board, visible);
    if (r.isEmpty()) {
        return {};
    }
    at = {r.Left, r.Top};
    return Rect::fromSize(piece.CellX + (r.Left - board.Left), piece.CellY + (r.Top - board.Top), r.width(),
                          r.height());
}
} // namespace

void TPieces::drawPiece(const TFormPiece& piece, Bitmap24& target, const Rect& clip) const {
    if (piece.Hidden) {
        return;
    }
    Point at;
    const Rect src = visibleCell(piece, intersection(clip, target.bounds()), at);
    if (src.isEmpty()) {
        return;
    }
    if (piece.ImageInAtlas) {
        // The shape's AND and the image's OR in one pass over whole mask bytes.
        blitMaskedSprite(target, at.X, at.Y, ImageAtlas, MaskAtlas, src);
    } else {
        // Upright and not turned since the build: the image is the picture
        // under the mask, taken from the piece's home box.
        const Point home{piece.HomeX + (src.Left - piece.CellX), piece.HomeY + (src.Top - piece.CellY)};
        blitMaskedPicture(target, at.X, at.Y, Picture, home, MaskAtlas, src);
    }
    if (outlineStyle() != kOutlineNone) {
        drawOutline(piece, target, clip);
    }
}

void TPieces::drawPieces(const PieceList& list, Bitmap24& target, const Rect* clip) const {
    const bool wood = outlineStyle() == kOutlineWood;
    const Rect drawClip = clip ? *clip : target.bounds();
    // A side face hangs below its piece, so in the Wood style a piece just
    // above the clip rectangle may still reach into it.
    Rect test = drawClip;
    if (wood) {
        test.Top -= WoodThickness;
    }
    const auto passes = [&](const TFormPiece* p) { return !clip || p->boardRect().intersects(test); };

    if (!wood) {
        for (const TFormPiece* p : list) {
            if (passes(p)) {
                drawPiece(*p, target, drawClip);
            }
        }
        return;
    }
    // Runs of one group: all side faces first, then the faces, so a group's
    // sides never cover its own faces.
    std::size_t i = 0;
    while (i < list.size()) {
        if (!passes(list[i])) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < list.size() && list[end]->GroupId == list[i]->GroupId) {
            ++end;
        }
        for (std::size_t k = i; k < end; ++k) {
            if (passes(list[k])) {
                drawWoodSide(*list[k], target, drawClip);
            }
        }
        for (std::size_t k = i; k < end; ++k) {
            if (passes(list[k])) {
                drawPiece(*list[k], target, drawClip);
            }
        }
        i = end;
    }
}

void TPieces::stampSilhouettes(const PieceList& list, Bitmap24& target, Point origin) const {
    for (const TFormPiece* p : list) {
        const Rect cell = Rect::fromSize(p->CellX, p->CellY, p->Width, p->Height);
        andMask(target, p->Left - origin.X, p->Top - origin.Y, MaskAtlas, cell);
    }
}

void TPieces::stampSilhouettes(const PieceList& list, Bitmap1& target, Point origin) const {
    for (const TFormPiece* p : list) {
        const Rect cell = Rect::fromSize(p->CellX, p->CellY, p->Width, p->Height);
        andMask(target, p->Left - origin.X, p->Top - origin.Y, MaskAtlas, cell);
    }
}

void TPieces::fillRectangle(Bitmap24& target, const Rect& r, Color color) {
    target.fill(r, color);
}

bool TPieces::hitTest(const TFormPiece& piece, int32_t x, int32_t y) const {
    if (!piece.boardRect().contains(x, y)) {
        return false;
    }
    const int64_t mx = int64_t(piece.CellX) + (int64_t(x) - piece.Left);
    const int64_t my = int64_t(piece.CellY) + (int64_t(y) - piece.Top);
    if (mx < 0 || my < 0 || mx >= MaskAtlas.width() || my >= MaskAtlas.height()) {
        return false;
    }
    return !MaskAtlas.isWhite(int32_t(mx), int32_t(my));
}

} // namespace zg
