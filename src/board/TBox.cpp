#include "board/TBox.h"

#include "board/TMural.h"
#include "gfx/Bitmap1.h"
#include "host/Host.h"
#include "pieces/SortKeys.h"

#include <algorithm>

namespace zg {

namespace {

/// Steps one cascade coordinate; a board too small to cascade in leaves it alone.
int32_t cascade(int32_t pos, int32_t boardSize) {
    const int32_t range = boardSize - TBox::kCascadeMargin;
    if (range <= 0) {
        return pos;
    }
    return int32_t((int64_t(pos) + TBox::kCascadeStep) % range);
}

/// Fills `r` clipped to `clip`.
void fillClipped(Bitmap24& target, const Rect& r, const Rect& clip, Color c) {
    target.fill(intersection(r, clip), c);
}

/// A 2-pixel pen along the straight segment (x0, y0)-(x1, y1): it covers one
/// pixel before each point and the point itself, across and along.
void penSegment(Bitmap24& target, const Rect& clip, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Color c) {
    const Rect r{std::min(x0, x1) - 1, std::min(y0, y1) - 1, std::max(x0, x1) + 1, std::max(y0, y1) + 1};
    fillClipped(target, r, clip, c);
}

} // namespace

TBox::TBox(int32_t number, TrayShared& shared) : Number(number), m_shared(&shared) {
    Width = uint16_t(kNewWidth);
    Height = uint16_t(kNewHeight);
    Open = true;
    TakeStamp();
    if (number == 0) {
        m_shared->NextTrayPos = {0, 0};
        SetSize(m_shared->BoardWidth, m_shared->BoardHeight);
        StackStamp = 0;
    }
    Left = m_shared->NextTrayPos.X;
    Top = m_shared->NextTrayPos.Y;
    m_shared->NextTrayPos = {cascade(Left, m_shared->BoardWidth), cascade(Top, m_shared->BoardHeight)};
}

void TBox::TakeStamp() {
    StackStamp = m_shared->NextStackStamp;
    // Loading keeps the counter far below the top; wrapping is still defined.
    m_shared->NextStackStamp = int32_t(uint32_t(m_shared->NextStackStamp) + 1u);
}

bool TBox::IsFront() const {
    return int64_t(m_shared->NextStackStamp) == int64_t(StackStamp) + 1;
}

Rect TBox::ClientRect() const {
    if (isMainArea()) {
        return OuterRect();
    }
    return {Left + 8, Top + 24, Left + int32_t(Width) - 8, Top + int32_t(Height) - 8};
}

Rect TBox::MinimiseRect() const {
    if (isMainArea()) {
        return {};
    }
    const int32_t right = Left + int32_t(Width);
    return {right - 23, Top + 4, right - 7, Top + 20};
}

Rect TBox::TitleRect() const {
    if (isMainArea()) {
        return {};
    }
    return {Left + 2, Top + 2, MinimiseRect().Left - 1, Top + 18};
}

std::string TBox::Title() const {
    std::string title = "Tray " + std::to_string(Number);
    if (!Description.empty()) {
        title += ": " + Description;
    }
    return title;
}

void TBox::SetSize(int32_t width, int32_t height) {
    Width = uint16_t(std::clamp(width, 0, 0xFFFF));
    Height = uint16_t(std::clamp(height, 0, 0xFFFF));
}

void TBox::SetBounds(const Rect& r) {
    Left = r.Left;
    Top = r.Top;
    SetSize(r.width(), r.height());
}

bool TBox::HitMinimise(int32_t x, int32_t y) {
    Pressed = !isMainArea() && MinimiseRect().contains(x, y);
    return Pressed;
}

CursorShape TBox::EdgeCursor(int32_t x, int32_t y) const {
    if (!OuterRect().contains(x, y)) {
        return CursorShape::Default;
    }
    const int32_t dx = x - Left;
    const int32_t dy = y - Top;
    const bool bottom = dy > int32_t(Height) - 8;
    const bool top = !bottom && dy <= 4;
    const bool right = dx > int32_t(Width) - 8;
    const bool left = !right && dx < 8;
    const bool vertical = top || bottom;
    const bool horizontal = left || right;
    if (vertical && horizontal) {
        return (top == left) ? CursorShape::SizeNWSE : CursorShape::SizeNESW;
    }
    if (vertical) {
        return CursorShape::SizeNS;
    }
    if (horizontal) {
        return CursorShape::SizeWE;
    }
    return CursorShape::Default;
}

void TBox::BeginResize(int32_t& x, int32_t& y, CursorShape cursor) {
    const int32_t w = Width;
    const int32_t h = Height;
    if (x > Left + w / 2) {
        m_shared->ResizeGrab.X = Left + w - x;
        x = Left;
    } else {
        m_shared->ResizeGrab.X = Left - x;
        x = Left + w;
    }
    if (y > Top + h / 2) {
        m_shared->ResizeGrab.Y = Top + h - y;
        y = Top;
    } else {
        m_shared->ResizeGrab.Y = Top - y;
        y = Top + h;
    }
    if (cursor == CursorShape::SizeNS) {
        x = Left;
    }
    if (cursor == CursorShape::SizeWE) {
        y = Top;
    }
    m_shared->ResizeAnchor = {x, y};
}

void TBox::TrackResize(int32_t& x, int32_t& y, CursorShape cursor) const {
    x += m_shared->ResizeGrab.X;
    y += m_shared->ResizeGrab.Y;
    if (cursor == CursorShape::SizeNS) {
        x = Left + int32_t(Width);
    }
    if (cursor == CursorShape::SizeWE) {
        y = Top + int32_t(Height);
    }
    const Point anchor = m_shared->ResizeAnchor;
    x = anchor.X != Left ? std::min(x, anchor.X - kMinWidth) : std::max(x, Left + kMinWidth);
    y = anchor.Y != Top ? std::min(y, anchor.Y - kMinHeight) : std::max(y, Top + kMinHeight);
}

void TBox::AddPieces(const PieceList& list) {
    Pieces.reserve(Pieces.size() + list.size());
    for (TFormPiece* p : list) {
        Pieces.push_back(p);
        p->TrayIndex = Number;
    }
}

TFormPiece* TBox::PieceAtPoint(int32_t x, int32_t y, bool exact, const Bitmap1& maskAtlas) const {
    if (!ClientRect().contains(x, y)) {
        return nullptr;
    }
    for (auto it = Pieces.rbegin(); it != Pieces.rend(); ++it) {
        TFormPiece* p = *it;
        if (!p->boardRect().contains(x, y)) {
            continue;
        }
        if (!exact) {
            return p;
        }
        const int32_t mx = p->CellX + x - p->Left;
        const int32_t my = p->CellY + y - p->Top;
        if (maskAtlas.bounds().contains(mx, my) && !maskAtlas.isWhite(mx, my)) {
            return p;
        }
    }
    return nullptr;
}

void TBox::SortPieces(int32_t mode) {
    sortPieces(Pieces, mode);
}

void TBox::Draw(Bitmap24& target, const Rect& clip, Host& host) const {
    const Rect outer = OuterRect();
    if (isMainArea() || !Open || Hidden || !clip.intersects(outer)) {
        return;
    }
    const int32_t x = Left;
    const int32_t y = Top;
    const int32_t w = Width;
    const int32_t h = Height;

    // Frame: button-face border 8 pixels deep around the tray colour.
    fillClipped(target, outer, clip, kTrayButtonFace);
    fillClipped(target, outer.inflate(-8, -8), clip, Color & 0x00FFFFFFu);

    // Client gradient. Each tray quantises from a fresh start, so its rows
    // come out the same whatever was drawn before and whatever the clip.
    const bool reduce = host.displayDepth() < 24;
    Quantiser quantiser;
    for (int32_t i = 0; i <= h - 41; ++i) {
        zg::Color c = gradientRowColor(Color, h, i);
        if (reduce) {
            c = quantiser.quantise(c);
        }
        fillClipped(target, Rect{x + 10, y + 28 + i, x + w - 10, y + 29 + i}, clip, c);
    }

    // Title bar.
    fillClipped(target, Rect{x + 2, y + 2, x + w - 2, y + 22}, clip, kTrayButtonFace);

    // Raised outer bevel, sunken client bevel.
    penSegment(target, clip, x + 1, y + h - 1, x + 1, y + 1, kTrayHighlight);
    penSegment(target, clip, x + 1, y + 1, x + w - 1, y + 1, kTrayHighlight);
    penSegment(target, clip, x + 7, y + h - 7, x + w - 7, y + h - 7, kTrayHighlight);
    penSegment(target, clip, x + w - 7, y + h - 7, x + w - 7, y + 23, kTrayHighlight);
    penSegment(target, clip, x + 3, y + h - 1, x + w - 1, y + h - 1, kTrayShadow);
    penSegment(target, clip, x + w - 1, y + h - 1, x + w - 1, y + 3, kTrayShadow);
    penSegment(target, clip, x + 7, y + h - 9, x + 7, y + 23, kTrayShadow);
    penSegment(target, clip, x + 7, y + 23, x + w - 7, y + 23, kTrayShadow);

    // Minimise button: raised, or sunken while pressed.
    const Rect button = MinimiseRect();
    const int32_t bx = button.Left;
    const int32_t by = button.Top;
    fillClipped(target, button, clip, kTrayButtonFace);
    const zg::Color lightEdge = Pressed ? kTrayDarkShadow : kTrayHighlight;
    const zg::Color innerLight = Pressed ? kTrayShadow : kTrayButtonFace;
    const zg::Color darkEdge = Pressed ? kTrayHighlight : kTrayDarkShadow;
    const zg::Color innerDark = Pressed ? kTrayButtonFace : kTrayShadow;
    fillClipped(target, Rect{bx, by, bx + 16, by + 1}, clip, lightEdge);
    fillClipped(target, Rect{bx, by, bx + 1, by + 16}, clip, lightEdge);
    fillClipped(target, Rect{bx + 1, by + 1, bx + 15, by + 2}, clip, innerLight);
    fillClipped(target, Rect{bx + 1, by + 1, bx + 2, by + 15}, clip, innerLight);
    fillClipped(target, Rect{bx + 1, by + 14, bx + 15, by + 15}, clip, innerDark);
    fillClipped(target, Rect{bx + 14, by + 1, bx + 15, by + 15}, clip, innerDark);
    fillClipped(target, Rect{bx, by + 15, bx + 16, by + 16}, clip, darkEdge);
    fillClipped(target, Rect{bx + 15, by, bx + 16, by + 16}, clip, darkEdge);
    const int32_t shift = Pressed ? 1 : 0;
    fillClipped(target, Rect{bx + 5 + shift, by + 10 + shift, bx + 11 + shift, by + 12 + shift}, clip,
                kTrayButtonText);

    // Title, clipped to its rectangle.
    const Rect textClip = intersection(TitleRect(), clip);
    if (!textClip.isEmpty()) {
        FontSpec font;
        font.Name = "Arial";
        font.Height = 16;
        host.drawText(target, textClip, x + 6, y + 2, Title(), font, kTrayWindowText);
    }
}

void TBox::DrawShadow(Bitmap24& target, int32_t a) const {
    const int32_t w = Width;
    const int32_t h = Height;
    target.fill(Rect{Left + a, Top + h, Left + w + a, Top + h + a}, rgb(0, 0, 0));
    target.fill(Rect{Left + w, Top + a, Left + w + a, Top + h}, rgb(0, 0, 0));
}

} // namespace zg
