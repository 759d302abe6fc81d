#pragma once

#include "board/TBoxes.h"
#include "support/FakeHost.h"

#include <vector>

namespace zg::test {

/// A tray set whose trays the tests make directly (a running game only gets
/// user trays from a saved game), with the board refreshes it asked for.
class TestBoxes : public TBoxes {
public:
    explicit TestBoxes(Host& host) : TBoxes(host) {}
    std::vector<Rect> refreshed;
    std::vector<std::pair<Rect, Rect>> zooms;

protected:
    void RefreshBoardRect(const Rect& r) override { refreshed.push_back(r); }
    void ZoomTray(const Rect& from, const Rect& to) override { zooms.emplace_back(from, to); }
};

/// Gives `boxes` `count` square pieces of side `side` (a multiple of 8) on a
/// picture of 320 x 240, each with its own atlas cell: a disc in a colour of
/// its own, black outside, and the matching mask. All pieces start in the
/// main board area of a `boardW` x `boardH` board, each its own group.
inline void makePieces(TBoxes& boxes, int32_t count, int32_t side, int32_t boardW, int32_t boardH) {
    boxes.createRecords(count);
    boxes.State.PieceWidth = uint16_t(side);
    boxes.State.PieceHeight = uint16_t(side);
    boxes.State.PictureWidth = 320;
    boxes.State.PictureHeight = 240;
    const int32_t cols = 8;
    const int32_t rows = (count + cols - 1) / cols;
    boxes.ImageAtlas.resize(cols * side, rows * side);
    boxes.MaskAtlas.resize(cols * side, rows * side);
    const int32_t r = side / 2;
    for (TFormPiece* p : boxes.Pieces) {
        const int32_t i = p->Index;
        p->CellX = (i % cols) * side;
        p->CellY = (i / cols) * side;
        p->Width = uint16_t(side);
        p->Height = uint16_t(side);
        p->GroupId = i;
        const Color c = rgb(uint8_t(40 + i * 37), uint8_t(250 - i * 11), uint8_t(90 + i * 53));
        for (int32_t y = 0; y < side; ++y) {
            for (int32_t x = 0; x < side; ++x) {
                const int32_t dx = x - r, dy = y - r;
                if (dx * dx + dy * dy < r * r) {
                    boxes.ImageAtlas.setPixel(p->CellX + x, p->CellY + y, c);
                    boxes.MaskAtlas.setWhite(p->CellX + x, p->CellY + y, false);
                }
            }
        }
    }
    boxes.CreateTrays(boardW, boardH);
}

} // namespace zg::test
