#pragma once

#include "gfx/Color.h"
#include "gfx/Rect.h"
#include "pieces/TFormPiece.h"

#include <cstdint>
#include <string>

namespace zg {

/// A tray: a window-like rectangle on the board holding its own pieces.
/// Tray 0 is the main board area, whose client rectangle is its outer one.
class TBox {
public:
    explicit TBox(int32_t number) : Number(number) {}

    int32_t Number = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    int32_t StackStamp = 0;
    zg::Color Color = rgb(255, 128, 192);
    bool Open = true;
    bool Hidden = false;
    bool Pressed = false;
    std::string Description; ///< UTF-8, at most 128 characters of the one-byte code page
    PieceList Pieces;        ///< sorted by GroupId, then Index

    bool isMainArea() const { return Number == 0; }
    Rect OuterRect() const { return Rect::fromSize(Left, Top, Width, Height); }
    /// Where the pieces live; the whole tray for the main board area.
    Rect ClientRect() const {
        if (isMainArea()) {
            return OuterRect();
        }
        return {Left + 8, Top + 24, Left + int32_t(Width) - 8, Top + int32_t(Height) - 8};
    }
    void SetSize(int32_t width, int32_t height) {
        Width = uint16_t(width);
        Height = uint16_t(height);
    }
    void SetBounds(const Rect& r) {
        Left = r.Left;
        Top = r.Top;
        SetSize(r.width(), r.height());
    }
};

} // namespace zg
