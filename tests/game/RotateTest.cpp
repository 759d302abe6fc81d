// Turning pieces on a real build: the rotating-pieces option, control+clicks
// and the popup's Rotate entries.
#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

class RotateTest : public ::testing::Test {
protected:
    test::FakeHost host;
    TJigsaw jig{host};

    void SetUp() override {
        jig.State.Version = 5;
        jig.State.RequestedPieces = 12;
        jig.State.Seed = 987654;
        jig.State.Style = kStyleClassic;
        jig.State.Oddness = 5;
        jig.Config.BoardWidth = 800;
        jig.Config.BoardHeight = 600;
        jig.Config.RotationOn = true;
        jig.Config.ShadowsOn = false;
        jig.Config.OutlineStyle = TPieces::kOutlineNone;
        Bitmap24 picture(240, 180);
        for (int32_t y = 0; y < 180; ++y) {
            for (int32_t x = 0; x < 240; ++x) {
                picture.setPixel(x, y, rgb(uint8_t(x), uint8_t(y), uint8_t((x * y) >> 4)));
            }
        }
        jig.BuildPuzzle(std::move(picture));
        jig.NewLayout();
        jig.SetGameState(TJigsaw::kPlaying);
        jig.SetBoardSize(800, 600);
        // Every piece upright and out of the way in the lower right.
        for (TFormPiece* p : jig.Pieces) {
            jig.TurnPiece(*p, 4 - (p->Rotation & 3));
            p->setPosition(650, 450, jig.mainArea().ClientRect(), jig.State.PictureWidth,
                           jig.State.PictureHeight);
        }
    }
    TFormPiece& piece(int32_t i) { return *jig.Pieces[std::size_t(i)]; }
    /// Puts `p` on top of the board at (x, y).
    void place(TFormPiece& p, int32_t x, int32_t y) {
        p.Left = x;
        p.Top = y;
        p.GroupId = jig.State.NextGroupId++;
        jig.mainArea().SortPieces();
        jig.RecordPositions(jig.mainArea());
    }
    /// A point on the shape of `p`, near its middle.
    Point onShape(const TFormPiece& p) const {
        for (int32_t r = 0; r < p.Width; ++r) {
            for (int32_t dy = -r; dy <= r; ++dy) {
                for (int32_t dx = -r; dx <= r; ++dx) {
                    const Point at{p.Left + p.Width / 2 + dx, p.Top + p.Height / 2 + dy};
                    if (jig.hitTest(p, at.X, at.Y)) {
                        return at;
                    }
                }
            }
        }
        return {p.Left, p.Top};
    }
    void redrawAll() {
        jig.DrawBoard(jig.Mural);
        jig.ResetCompositor();
    }
};

TEST_F(RotateTest, RotationGiftScattersWithTurnedPieces) {
    jig.Rng.RandSeed = 31;
    jig.NewLayout();
    int turned = 0;
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_EQ(p->PendingTurns, 0);
        turned += (p->Rotation & 3) != 0;
    }
    EXPECT_GT(turned, 3);
    EXPECT_EQ(host.statusTexts.back(), "");
}

TEST_F(RotateTest, CtrlClickTurnsAPieceBesideItsNeighbourAndItJoins) {
    TFormPiece& p0 = piece(0);
    TFormPiece& p1 = piece(1);
    place(p0, 200, 200);
    jig.TurnPiece(p1, 1);
    // Where p1 fits once upright; turned it does not join.
    place(p1, 200 + p1.HomeX - p0.HomeX, 200 + p1.HomeY - p0.HomeY);
    redrawAll();
    EXPECT_FALSE(p1.Joined);
    host.ctrl = true;
    const Point at = onShape(p1);
    jig.BoardMouseDown(MouseButton::Left, at.X, at.Y); // rotate left: 3 quarter turns
    EXPECT_EQ(p1.Rotation, 0);
    EXPECT_TRUE(p1.Joined);
    EXPECT_EQ(p1.GroupId, p0.GroupId);
    EXPECT_EQ(jig.State.SolvedCount, 2);
    EXPECT_FALSE(jig.IsLifted());
}

TEST_F(RotateTest, GroupOfThreeTurnsAsOneAroundTheClickedPiece) {
    TFormPiece& a = piece(0);
    TFormPiece& b = piece(1);
    TFormPiece& c = piece(2);
    place(a, 200, 200);
    for (TFormPiece* q : {&b, &c}) {
        q->moveNextTo(a);
        q->GroupId = a.GroupId;
        q->Joined = true;
    }
    a.Joined = true;
    jig.mainArea().SortPieces();
    jig.RecordPositions(jig.mainArea());
    redrawAll();
    const Point bAt{b.Left, b.Top};
    const uint16_t bWidth = b.Width;
    // A pixel inside b: after a right turn (x, y) lands on (Height - 1 - y, x).
    const Point inB{onShape(b).X - b.Left, onShape(b).Y - b.Top};
    const Color colour = jig.ImageAtlas.pixel(b.CellX + inB.X, b.CellY + inB.Y);
    const int32_t bHeight = b.Height;

    host.ctrl = true;
    const Point at = onShape(b);
    jig.BoardMouseDown(MouseButton::Right, at.X, at.Y); // rotate right: 1 quarter turn
    for (const TFormPiece* q : {&a, &b, &c}) {
        EXPECT_EQ(q->Rotation, 1) << q->Index;
        EXPECT_EQ(q->GroupId, b.GroupId) << q->Index;
    }
    EXPECT_EQ((Point{b.Left, b.Top}), bAt);
    EXPECT_EQ(b.Height, bWidth);
    EXPECT_EQ((Point{a.Left, a.Top}), a.positionNextTo(b));
    EXPECT_EQ((Point{c.Left, c.Top}), c.positionNextTo(b));
    // The board shows the turned group: b's pixel where the turn put it, and
    // its left neighbour now above it and its right one below.
    EXPECT_EQ(jig.BackBuffer.pixel(b.Left + bHeight - 1 - inB.Y, b.Top + inB.X), colour);
    EXPECT_LT(a.Top, b.Top);
    EXPECT_GT(c.Top, b.Top);
}

TEST_F(RotateTest, SwitchingRotationOnAsksAndYesTurnsLoosePieces) {
    jig.Config.RotationOn = false;
    host.answer = Answer::Cancel;
    EXPECT_FALSE(jig.RotationOption(true, kRightWayUpQuestion));
    EXPECT_FALSE(jig.Config.RotationOn);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "Would you like some pieces randomly rotated now?");

    host.answer = Answer::Yes;
    EXPECT_TRUE(jig.RotationOption(true, kRightWayUpQuestion));
    EXPECT_TRUE(jig.Config.RotationOn);
    int turned = 0;
    for (const TFormPiece* p : jig.Pieces) {
        turned += (p->Rotation & 3) != 0;
    }
    EXPECT_GT(turned, 3);

    // Switching off with turned pieces: No keeps rotation on, Yes turns all upright.
    host.answer = Answer::No;
    EXPECT_TRUE(jig.RotationOption(false, kRightWayUpQuestion));
    EXPECT_TRUE(jig.Config.RotationOn);
    EXPECT_EQ(host.questions.back(), kRightWayUpQuestion);
    host.answer = Answer::Yes;
    EXPECT_FALSE(jig.RotationOption(false, kRightWayUpQuestion));
    EXPECT_FALSE(jig.Config.RotationOn);
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_EQ(p->Rotation, 0) << p->Index;
    }
}

} // namespace
} // namespace zg
