#pragma once

#include "gfx/Bitmap24.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"
#include "pieces/TFormPiece.h"

#include <cstdint>
#include <string>

namespace zg {

class Bitmap1;
class Host;
enum class CursorShape;

/// Values every tray of one tray set shares: the next stacking stamp, where
/// the next tray goes, the resize in progress and the board size recorded in
/// the settings, which sizes the main board area and bounds the cascade.
struct TrayShared {
    int32_t NextStackStamp = 0;
    Point NextTrayPos;
    Point ResizeAnchor;
    Point ResizeGrab;
    int32_t BoardWidth = 0;
    int32_t BoardHeight = 0;
};

/// Colours of tray frames and buttons.
inline constexpr Color kTrayButtonFace = rgb(212, 208, 200);
inline constexpr Color kTrayHighlight = rgb(255, 255, 255);
inline constexpr Color kTrayShadow = rgb(128, 128, 128);
inline constexpr Color kTrayDarkShadow = rgb(0, 0, 0);
inline constexpr Color kTrayButtonText = rgb(0, 0, 0);
inline constexpr Color kTrayWindowText = rgb(0, 0, 0);
inline constexpr Color kTrayDefaultColor = rgb(255, 128, 192);

/// A tray: a window-like rectangle on the board holding its own pieces, with
/// a frame, a title bar reading "Tray %d%s" and a minimise button. Tray 0 is
/// the main board area: it covers the board, has no frame and no button, and
/// its client rectangle is its outer one.
class TBox {
public:
    static constexpr int32_t kNewWidth = 200;
    static constexpr int32_t kNewHeight = 150;
    static constexpr int32_t kMinWidth = 100;
    static constexpr int32_t kMinHeight = 75;
    static constexpr int32_t kCascadeStep = 20;
    static constexpr int32_t kCascadeMargin = 32;
    static constexpr std::size_t kMaxDescription = 128;

    /// Makes tray `number` with the next stacking stamp at the next cascade
    /// position (tray 0: the whole recorded board at (0, 0) with stamp 0, and
    /// the cascade starts over). The cascade steps 20 pixels and wraps within
    /// the board less 32 pixels; on a board of 32 pixels or less in a
    /// direction it does not move in that direction.
    /// @param shared must outlive the tray.
    TBox(int32_t number, TrayShared& shared);
    TBox(const TBox&) = delete;
    TBox& operator=(const TBox&) = delete;

    int32_t Number = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    int32_t StackStamp = 0;
    zg::Color Color = kTrayDefaultColor;
    bool Open = true;
    bool Hidden = false;
    bool Pressed = false;
    std::string Description; ///< UTF-8, at most 128 characters of the one-byte code page
    PieceList Pieces;        ///< sorted by GroupId, then Index
    Rect ButtonBounds;       ///< the tray bar button in board coordinates, as the window placed it

    bool isMainArea() const { return Number == 0; }

    /// StackStamp := the next stamp; the shared counter moves on.
    void TakeStamp();
    /// True when this tray holds the most recent stamp.
    bool IsFront() const;

    Rect OuterRect() const { return Rect::fromSize(Left, Top, Width, Height); }
    /// Where the pieces live; the whole tray for the main board area.
    Rect ClientRect() const;
    /// The 16 x 16 minimise button in the title bar (empty for the main board area).
    Rect MinimiseRect() const;
    /// The rectangle the title text is clipped to.
    Rect TitleRect() const;
    /// The tray bar button's rectangle in board coordinates.
    Rect ButtonRect() const { return ButtonBounds; }
    /// "Tray %d%s": the number, then ": " and the description when there is one.
    std::string Title() const;

    void SetSize(int32_t width, int32_t height);
    void SetBounds(const Rect& r);

    /// Pressed := (user tray and (x, y) on the minimise button); returns it.
    bool HitMinimise(int32_t x, int32_t y);
    /// The sizing cursor for a point on the frame; Default elsewhere. The top
    /// band is 5 pixels deep, left 8, right and bottom 7.
    CursorShape EdgeCursor(int32_t x, int32_t y) const;
    /// Starts a resize grabbed at (x, y) with the given edge cursor: records
    /// the grab offset and turns (x, y) into the band's fixed corner (the anchor).
    void BeginResize(int32_t& x, int32_t& y, CursorShape cursor);
    /// Turns a mouse point into the band's moving corner: shifted by the grab
    /// offset, locked on the unmoved axis, and never closer than 100 x 75
    /// pixels to the anchor.
    void TrackResize(int32_t& x, int32_t& y, CursorShape cursor) const;

    int32_t PieceCount() const { return int32_t(Pieces.size()); }
    TFormPiece* PieceAt(int32_t index) const {
        return index >= 0 && index < PieceCount() ? Pieces[std::size_t(index)] : nullptr;
    }
    /// Appends the pieces and makes this tray their home (TrayIndex := Number).
    void AddPieces(const PieceList& list);
    /// The topmost piece whose rectangle holds (x, y) inside the client area;
    /// with `exact`, only where its mask (in `maskAtlas`) is black. nullptr if none.
    TFormPiece* PieceAtPoint(int32_t x, int32_t y, bool exact, const Bitmap1& maskAtlas) const;
    /// Sorts the pieces with the piece sort of `mode`; mode 0 (GroupId, then
    /// Index) is the board's paint order.
    void SortPieces(int32_t mode = 0);

    /// Draws frame, title and minimise button into `target`, limited to `clip`;
    /// nothing for the main board area or a minimised or hidden tray. Every
    /// pixel drawn depends only on the tray, so any clip gives the pixels of an
    /// unclipped draw inside it. The title goes through the host's text drawing.
    void Draw(Bitmap24& target, const Rect& clip, Host& host) const;
    /// Two black bands `a` pixels wide along the bottom and right, offset by `a`.
    void DrawShadow(Bitmap24& target, int32_t a) const;

private:
    TrayShared* m_shared;
};

} // namespace zg
