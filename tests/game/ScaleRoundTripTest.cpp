// A 10,000-piece puzzle of a 1024 x 768 picture (the largest picture a gift
// holds unless its maker keeps a bigger one) is built, scattered, played a
// little, saved and resumed in a new puzzle object: every piece lies where it
// lay and the game goes on.

#include "files/SaveFiles.h"
#include "files/SavedGame.h"
#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"
#include "support/JpegMaker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>

namespace zg {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kBoardW = 1600;
constexpr int32_t kBoardH = 1200;

/// Where one piece lies, as a person sees it.
struct Lie {
    int32_t Left, Top, Rotation, GroupId, TrayIndex;
    bool Joined;
    friend bool operator==(const Lie&, const Lie&) = default;
};

std::vector<Lie> lies(const TJigsaw& jig) {
    std::vector<Lie> out;
    for (const TFormPiece* p : jig.Pieces) {
        out.push_back({p->Left, p->Top, p->Rotation, p->GroupId, p->TrayIndex, p->Joined});
    }
    return out;
}

class ScaleRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::path(::testing::TempDir()) / "scale-round-trip";
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    /// A new puzzle object built from the picture, as at start-up, before
    /// the saved game is looked for.
    std::unique_ptr<TJigsaw> built(test::FakeHost& host) {
        auto jig = std::make_unique<TJigsaw>(host);
        jig->State.Version = 5;
        jig->State.RequestedPieces = 10000;
        jig->State.Seed = 20261209;
        jig->State.Style = kStyleClassic;
        jig->State.Oddness = 5;
        jig->Config.BoardWidth = kBoardW;
        jig->Config.BoardHeight = kBoardH;
        jig->Config.SoundOn = false;
        jig->Config.RotationOn = true;
        jig->ProgramPath = (m_dir / "gift").string();
        jig->DataHome = (m_dir / "data").string();
        jig->BuildPuzzle(m_picture);
        return jig;
    }
    std::string savePath() const { return (m_dir / "gift.sav").string(); }

    /// A board point where `p` is the piece a click picks, if there is one.
    static std::optional<Point> clickPointOn(TJigsaw& jig, const TFormPiece& p) {
        for (int32_t y = p.Top; y < p.Top + p.Height; ++y) {
            for (int32_t x = p.Left; x < p.Left + p.Width; ++x) {
                if (jig.mainArea().PieceAtPoint(x, y, true, jig.MaskAtlas) == &p) {
                    return Point{x, y};
                }
            }
        }
        return std::nullopt;
    }

    fs::path m_dir;
    Bitmap24 m_picture = test::quarteredPicture(1024, 768);
};

TEST_F(ScaleRoundTripTest, ATenThousandPieceGiftBuildsScattersSavesAndResumes) {
    // A new game: built and scattered over the board.
    test::FakeHost firstHost;
    auto first = built(firstHost);
    ASSERT_FALSE(first->TryResume());
    const std::size_t count = first->Pieces.size();
    ASSERT_GE(count, 9500u);
    ASSERT_LE(count, 10500u);
    const Rect board = first->mainArea().ClientRect();
    std::set<std::pair<int32_t, int32_t>> places;
    std::set<int32_t> turns;
    for (const TFormPiece* p : first->Pieces) {
        ASSERT_TRUE(p->boardRect().intersects(board)) << "piece " << p->Index;
        places.insert({p->Left, p->Top});
        turns.insert(p->Rotation);
    }
    EXPECT_GT(places.size(), count * 9 / 10);
    EXPECT_EQ(turns.size(), 4u);

    // Played a little: rows of three pieces joined here and there, and a
    // user tray (trays come only from saved games) holding a few loose pieces.
    const int32_t cols = first->State.Cols;
    Rect dirty;
    for (int32_t i = 0; i + 2 < int32_t(count); i += 97) {
        if (i % cols + 2 < cols) {
            TFormPiece& a = *first->Pieces[std::size_t(i)];
            for (int32_t k = 1; k <= 2; ++k) {
                TFormPiece& b = *first->Pieces[std::size_t(i + k)];
                first->TurnPiece(b, (a.Rotation - b.Rotation) & 3);
                first->JoinPieces(b, a, dirty);
            }
        }
    }
    SavedGame image = first->makeSavedGame();
    TrayRecord tray;
    tray.Number = 1;
    tray.Left = 1200;
    tray.Top = 800;
    tray.Width = 300;
    tray.Height = 250;
    tray.Description = "Sky";
    image.Trays.push_back(tray);
    int32_t inTray = 0;
    for (std::size_t i = 1; i < image.Pieces.size() && inTray < 25; i += 401) {
        if (image.Pieces[i].Joined == 0) {
            image.Pieces[i].TrayIndex = 1;
            image.Pieces[i].RelX = 1220 + 10 * (inTray % 5);
            image.Pieces[i].RelY = 830 + 10 * (inTray / 5);
            ++inTray;
        }
    }
    ASSERT_TRUE(writeFileAtomically(savePath(), encodeSavedGame(image)));

    // That game resumed is the one saved at exit.
    test::FakeHost playHost;
    auto played = built(playHost);
    ASSERT_TRUE(played->TryResume());
    ASSERT_EQ(played->Trays.size(), 2u);
    ASSERT_EQ(played->Trays[1]->Pieces.size(), std::size_t(inTray));
    ASSERT_GT(played->State.SolvedCount, 200);
    const std::vector<Lie> before = lies(*played);
    const uint16_t solvedBefore = played->State.SolvedCount;
    const int32_t elapsed = played->State.ElapsedSeconds = 4321;
    ASSERT_TRUE(played->SaveGame());
    played.reset();

    // The next start: a new puzzle object, built from the picture, resumes it.
    test::FakeHost host;
    auto jig = built(host);
    ASSERT_TRUE(jig->TryResume());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.questions.empty());
    // The pieces were turned to their stored turns in one pass: the status
    // line counted the turning up once.
    EXPECT_EQ(std::count(host.statusTexts.begin(), host.statusTexts.end(), "Rotating: 50%"), 1);
    const std::vector<Lie> after = lies(*jig);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        ASSERT_EQ(after[i], before[i]) << "piece " << i;
    }
    EXPECT_EQ(jig->State.SolvedCount, solvedBefore);
    EXPECT_EQ(jig->State.ElapsedSeconds, elapsed);
    ASSERT_EQ(jig->Trays.size(), 2u);
    EXPECT_EQ(jig->Trays[1]->Description, "Sky");
    EXPECT_EQ(jig->Trays[1]->Pieces.size(), std::size_t(inTray));

    // The game goes on: a loose piece dragged with the mouse to its place
    // next to a loose neighbour, turned alike, snaps flush and joins it.
    const Rect area = jig->mainArea().ClientRect();
    bool snapped = false;
    for (std::size_t i = 0; i + 1 < count && !snapped; ++i) {
        TFormPiece& p = *jig->Pieces[i];
        TFormPiece& q = *jig->Pieces[i + 1];
        if (int32_t(i) % cols == cols - 1 || p.Joined || q.Joined || p.TrayIndex != 0 || q.TrayIndex != 0 ||
            p.Rotation != q.Rotation) {
            continue;
        }
        const Point fit = p.positionNextTo(q);
        const Rect target{fit.X, fit.Y, fit.X + p.Width, fit.Y + p.Height};
        const std::optional<Point> grab = clickPointOn(*jig, p);
        if (!grab || !area.contains(target) || (fit.X == p.Left && fit.Y == p.Top)) {
            continue;
        }
        const Point drop{grab->X + fit.X - p.Left, grab->Y + fit.Y - p.Top};
        host.leftButton = true;
        jig->BoardMouseDown(MouseButton::Left, grab->X, grab->Y);
        jig->BoardMouseMove(drop.X, drop.Y);
        host.leftButton = false;
        jig->BoardMouseUp(drop.X, drop.Y);
        EXPECT_EQ((Point{p.Left, p.Top}), fit);
        EXPECT_TRUE(p.Joined);
        EXPECT_TRUE(q.Joined);
        EXPECT_EQ(p.GroupId, q.GroupId);
        EXPECT_EQ(jig->State.SolvedCount, solvedBefore + 2);
        snapped = true;
    }
    EXPECT_TRUE(snapped);
}

} // namespace
} // namespace zg
