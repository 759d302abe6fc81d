#pragma once

#include "game/TJigsaw.h"
#include "support/FakeHost.h"

#include <utility>
#include <vector>

namespace zg::test {

/// A puzzle object that records the turns RotateGroup hands to the image step.
class TurnRecordingJigsaw : public TJigsaw {
public:
    using TJigsaw::TJigsaw;
    std::vector<std::pair<std::size_t, int32_t>> turns; ///< (pieces turned, quarter turns)

protected:
    void TurnPieceImages(const PieceList& list, int32_t quarterTurns) override {
        turns.emplace_back(list.size(), quarterTurns);
    }
};

/// A playing puzzle built directly: `cols` x `rows` cells of 60 x 40 pixels,
/// each piece an ellipse filling its cell (its corners are transparent), on a
/// 640 x 480 board, every piece its own loose group at its home place shifted
/// by (200, 200) unless a test moves it.
class InputTestPuzzle {
public:
    static constexpr int32_t kW = 60;
    static constexpr int32_t kH = 40;
    static constexpr int32_t kBoardW = 640;
    static constexpr int32_t kBoardH = 480;

    InputTestPuzzle(int32_t cols, int32_t rows) {
        TJigsaw& j = jig;
        const int32_t count = cols * rows;
        j.createRecords(count);
        j.State.Cols = uint16_t(cols);
        j.State.Rows = uint16_t(rows);
        j.State.PieceCount = uint16_t(count);
        j.State.PieceWidth = kW;
        j.State.PieceHeight = kH;
        j.State.PictureWidth = uint16_t(cols * kW);
        j.State.PictureHeight = uint16_t(rows * kH);
        j.State.ScaledWidth = j.State.PictureWidth;
        j.State.ScaledHeight = j.State.PictureHeight;
        j.ImageAtlas.resize(cols * kW, rows * kH);
        j.MaskAtlas.resize(cols * kW, rows * kH);
        j.Config.ShadowsOn = false;
        j.Config.OutlineStyle = 0;
        j.Config.BoardWidth = kBoardW;
        j.Config.BoardHeight = kBoardH;
        for (TFormPiece* p : j.Pieces) {
            const int32_t i = p->Index;
            p->CellX = (i % cols) * kW;
            p->CellY = (i / cols) * kH;
            p->HomeX = p->CellX;
            p->HomeY = p->CellY;
            p->Width = kW;
            p->Height = kH;
            p->GroupId = i;
            p->Left = 200 + p->HomeX;
            p->Top = 200 + p->HomeY;
            for (int32_t y = 0; y < kH; ++y) {
                for (int32_t x = 0; x < kW; ++x) {
                    const double ex = (x + 0.5 - kW / 2.0) / (kW / 2.0);
                    const double ey = (y + 0.5 - kH / 2.0) / (kH / 2.0);
                    if (ex * ex + ey * ey <= 1.0) {
                        j.MaskAtlas.setWhite(p->CellX + x, p->CellY + y, false);
                        j.ImageAtlas.setPixel(p->CellX + x, p->CellY + y,
                                              rgb(uint8_t(40 + 20 * i), 120, 200));
                    }
                }
            }
        }
        j.State.NextGroupId = count;
        j.CreateTrays(kBoardW, kBoardH);
        j.BackBuffer.resize(kBoardW, kBoardH);
        j.Mural.SetWallSize(kBoardW, kBoardH);
        j.Mural.PaintWall(false, nullptr, rgb(40, 90, 160));
        j.CurrentTray = &j.mainArea();
        j.GameState = TJigsaw::kPlaying;
        redrawAll();
    }

    /// Sorts the trays' lists, rebuilds the back buffer and hands it to the compositor.
    void redrawAll() {
        jig.SortAllPieces();
        jig.DrawBoard(jig.Mural);
        jig.ResetCompositor();
    }

    TFormPiece& piece(int32_t i) { return *jig.Pieces[std::size_t(i)]; }
    void place(int32_t i, int32_t x, int32_t y) {
        piece(i).Left = x;
        piece(i).Top = y;
    }
    /// The centre of piece i, which lies on its shape.
    Point centreOf(int32_t i) {
        const TFormPiece& p = piece(i);
        return {p.Left + p.Width / 2, p.Top + p.Height / 2};
    }

    void press(MouseButton button, Point at) { jig.BoardMouseDown(button, at.X, at.Y); }
    void move(Point at) { jig.BoardMouseMove(at.X, at.Y); }
    void release(Point at) { jig.BoardMouseUp(at.X, at.Y); }
    /// A left drag from `from` to `to` in one move.
    void drag(Point from, Point to) {
        press(MouseButton::Left, from);
        move(to);
        release(to);
    }

    FakeHost host;
    TurnRecordingJigsaw jig{host};
};

} // namespace zg::test
