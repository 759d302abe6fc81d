#pragma once

#include "board/TMove.h"
#include "support/FakeHost.h"

#include <functional>
#include <memory>

namespace zg::test {

/// A host whose clock waits can run a callback: the tests use it to act while
/// an animation is in progress, as a real host would when input arrives.
class ScriptedHost : public FakeHost {
public:
    void waitUntilMs(int64_t deadline) override {
        if (onWait) {
            onWait();
        }
        FakeHost::waitUntilMs(deadline);
    }
    void processEvents() override {
        FakeHost::processEvents();
        if (onEvents) {
            onEvents();
        }
    }
    std::function<void()> onWait;
    std::function<void()> onEvents;
};

/// A move engine that records the turns RotateGroup asks for and what a
/// drop hands to the joining step.
class RecordingMove : public TMove {
public:
    using TMove::TMove;
    struct SnapCall {
        PieceList list;
        Rect dirty;
    };
    void SnapDropped(const PieceList& list, Rect& dirty) override {
        snaps.push_back({list, dirty});
        TMove::SnapDropped(list, dirty);
    }
    std::vector<std::pair<std::size_t, int32_t>> turns; ///< (list size, quarter turns)
    std::vector<SnapCall> snaps;

protected:
    void TurnPieceImages(const PieceList& list, int32_t quarterTurns) override {
        turns.emplace_back(list.size(), quarterTurns);
    }
};

/// A small puzzle built directly: `cols` x `rows` cells of pw x ph pixels,
/// each piece an ellipse filling its cell (so its corners are transparent),
/// painted in a colour of its own, every piece its own group in the main
/// board area, on a board of boardW x boardH with a gradient background.
class MoveTestPuzzle {
public:
    MoveTestPuzzle(int32_t cols, int32_t rows, uint16_t pw, uint16_t ph, int32_t boardW, int32_t boardH)
        : move(std::make_unique<RecordingMove>(host)) {
        TMove& m = *move;
        m.createRecords(cols * rows);
        m.State.Cols = uint16_t(cols);
        m.State.Rows = uint16_t(rows);
        m.State.PieceCount = uint16_t(cols * rows);
        m.State.PieceWidth = pw;
        m.State.PieceHeight = ph;
        m.State.PictureWidth = uint16_t(cols * pw);
        m.State.PictureHeight = uint16_t(rows * ph);
        m.State.ScaledWidth = m.State.PictureWidth;
        m.State.ScaledHeight = m.State.PictureHeight;
        m.ImageAtlas.resize(cols * pw, rows * ph);
        m.MaskAtlas.resize(cols * pw, rows * ph);
        m.Config.ShadowsOn = false;
        m.Config.OutlineStyle = 0;
        for (int32_t i = 0; i < cols * rows; ++i) {
            TFormPiece& p = *m.Pieces[std::size_t(i)];
            p.CellX = (i % cols) * pw;
            p.CellY = (i / cols) * ph;
            p.HomeX = p.CellX;
            p.HomeY = p.CellY;
            p.Width = pw;
            p.Height = ph;
            p.GroupId = i;
            p.Left = p.HomeX;
            p.Top = p.HomeY;
            const Color c = colourOf(i);
            for (int32_t y = 0; y < ph; ++y) {
                for (int32_t x = 0; x < pw; ++x) {
                    const double ex = (x + 0.5 - pw / 2.0) / (pw / 2.0);
                    const double ey = (y + 0.5 - ph / 2.0) / (ph / 2.0);
                    if (ex * ex + ey * ey <= 1.0) {
                        m.MaskAtlas.setWhite(p.CellX + x, p.CellY + y, false);
                        m.ImageAtlas.setPixel(p.CellX + x, p.CellY + y, c);
                    }
                }
            }
        }
        m.State.NextGroupId = cols * rows;
        m.CreateTrays(boardW, boardH);
        m.BackBuffer.resize(boardW, boardH);
        m.Mural.SetWallSize(boardW, boardH);
        m.Mural.PaintWall(false, nullptr, rgb(40, 90, 160));
        redrawAll();
    }

    /// A non-black colour unique to piece i.
    static Color colourOf(int32_t i) {
        return rgb(uint8_t(60 + 7 * i), uint8_t(200 - 3 * i), uint8_t(90 + 11 * i));
    }

    /// Sorts the trays' lists, rebuilds the whole back buffer and hands it to the compositor.
    void redrawAll() {
        move->SortAllPieces();
        move->DrawBoard(move->Mural);
        move->ResetCompositor();
    }

    TFormPiece& piece(int32_t i) { return *move->Pieces[std::size_t(i)]; }

    /// Makes the listed pieces one joined group with the first one's number,
    /// each placed against the first by its home offset.
    void join(std::initializer_list<int32_t> indices) {
        TFormPiece& first = piece(*indices.begin());
        for (int32_t i : indices) {
            TFormPiece& p = piece(i);
            p.Joined = true;
            p.GroupId = first.GroupId;
            p.Left = first.Left + (p.HomeX - first.HomeX);
            p.Top = first.Top + (p.HomeY - first.HomeY);
        }
    }

    /// A point inside piece i's shape (its centre).
    Point centreOf(int32_t i) {
        const TFormPiece& p = piece(i);
        return {p.Left + p.Width / 2, p.Top + p.Height / 2};
    }

    ScriptedHost host;
    std::unique_ptr<RecordingMove> move;
};

} // namespace zg::test
