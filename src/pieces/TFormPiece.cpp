#include "pieces/TFormPiece.h"

#include <cmath>

namespace zg {

Point TFormPiece::positionNextTo(const TFormPiece& other) const {
    const int32_t dx = HomeX - other.HomeX;
    const int32_t dy = HomeY - other.HomeY;
    const int32_t w = Width, h = Height;
    const int32_t oW = other.Width, oH = other.Height, oL = other.Left, oT = other.Top;
    switch (other.Rotation & 3) {
    case 1:
        return {oL + oW - dy - w, oT + dx};
    case 2:
        return {oL + oW - dx - w, oT + oH - dy - h};
    case 3:
        return {oL + dy, oT + oH - dx - h};
    default:
        return {oL + dx, oT + dy};
    }
}

void TFormPiece::moveNextTo(const TFormPiece& other) {
    const Point p = positionNextTo(other);
    Left = p.X;
    Top = p.Y;
}

void TFormPiece::storePosition(const Rect& board, int32_t refW, int32_t refH) {
    if (board.width() <= 0 || board.height() <= 0) {
        return;
    }
    RelX = double(refW) * double(Left - board.Left) / double(board.width()) + board.Left;
    RelY = double(refH) * double(Top - board.Top) / double(board.height()) + board.Top;
}

void TFormPiece::restorePosition(const Rect& board, int32_t refW, int32_t refH) {
    if (board.width() <= 0 || board.height() <= 0 || refW <= 0 || refH <= 0) {
        return;
    }
    // nearbyint rounds halves to even in the default rounding mode. Values from a
    // damaged saved game that land nowhere near the board are not applied.
    const double x = std::nearbyint((RelX - board.Left) * board.width() / refW);
    const double y = std::nearbyint((RelY - board.Top) * board.height() / refH);
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e8 || std::fabs(y) > 1e8) {
        return;
    }
    Left = board.Left + int32_t(x);
    Top = board.Top + int32_t(y);
}

void TFormPiece::setPosition(int32_t x, int32_t y, const Rect& board, int32_t refW, int32_t refH) {
    Left = x;
    Top = y;
    storePosition(board, refW, refH);
}

void setHidden(const PieceList& list, bool value) {
    for (TFormPiece* p : list) {
        p->Hidden = value;
    }
}

void setPlaced(const PieceList& list, bool value) {
    for (TFormPiece* p : list) {
        p->Placed = value;
    }
}

void offsetPieces(const PieceList& list, int32_t dx, int32_t dy) {
    for (TFormPiece* p : list) {
        p->offset(dx, dy);
    }
}

} // namespace zg
