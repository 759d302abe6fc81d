// Resuming saved games on a puzzle built from a picture: damaged and foreign
// files start a new game and are set aside, values out of range are mended,
// and user trays come back as real trays.

#include "files/SaveFiles.h"
#include "files/SavedGame.h"
#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>

namespace zg {
namespace {

namespace fs = std::filesystem;

class ResumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::path(::testing::TempDir()) / (std::string("resume-") + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    /// A puzzle built from the same picture and seed, not yet laid out.
    std::unique_ptr<TJigsaw> built(test::FakeHost& host, int32_t seed = 4711) {
        auto jig = std::make_unique<TJigsaw>(host);
        jig->State.Version = 5;
        jig->State.RequestedPieces = 12;
        jig->State.Seed = seed;
        jig->State.Style = kStyleClassic;
        jig->State.Oddness = 5;
        jig->Config.BoardWidth = 640;
        jig->Config.BoardHeight = 480;
        jig->ProgramPath = (m_dir / "gift.bin").string();
        jig->DataHome = (m_dir / "data").string();
        jig->BuildPuzzle(test::gradientPicture(240, 180));
        return jig;
    }
    /// A valid saved game of a new game of that puzzle.
    SavedGame newGameImage() {
        test::FakeHost host;
        auto jig = built(host);
        EXPECT_FALSE(jig->TryResume());
        return jig->makeSavedGame();
    }
    std::string savePath() const { return (m_dir / "gift.sav").string(); }
    void writeSave(const std::vector<uint8_t>& bytes) { ASSERT_TRUE(writeFileAtomically(savePath(), bytes)); }

    /// Resumes `bytes` and checks the game is playable either way: every
    /// piece in exactly one tray and the main board area's pieces on the board.
    bool resume(const std::vector<uint8_t>& bytes, test::FakeHost& host, std::unique_ptr<TJigsaw>& jig) {
        writeSave(bytes);
        jig = built(host);
        const bool resumed = jig->TryResume();
        EXPECT_TRUE(jig->IsPlaying());
        std::size_t held = 0;
        for (const auto& tray : jig->Trays) {
            held += tray->Pieces.size();
        }
        EXPECT_EQ(held, jig->Pieces.size());
        const Rect board = jig->mainArea().ClientRect();
        for (const TFormPiece* p : jig->mainArea().Pieces) {
            EXPECT_TRUE(p->boardRect().intersects(board)) << p->Index;
        }
        return resumed;
    }
    /// Resumes a damaged file: a new game starts, the file is set aside and
    /// the user is told once.
    void expectSetAside(const std::vector<uint8_t>& bytes, const std::string& what) {
        SCOPED_TRACE(what);
        test::FakeHost host;
        std::unique_ptr<TJigsaw> jig;
        EXPECT_FALSE(resume(bytes, host, jig));
        EXPECT_FALSE(fs::exists(savePath()));
        EXPECT_EQ(readWholeFile(savePath() + ".bad", 1 << 24), bytes);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].rfind("The saved game could not be resumed (", 0), 0u);
        for (const TFormPiece* p : jig->Pieces) {
            EXPECT_FALSE(p->Joined);
            EXPECT_EQ(p->TrayIndex, 0);
        }
        fs::remove(savePath() + ".bad");
    }

    fs::path m_dir;
};

TEST_F(ResumeTest, DamagedOrForeignSavesStartANewGameAndAreSetAside) {
    const SavedGame good = newGameImage();
    SavedGame withTray = good;
    withTray.Trays.resize(1);
    withTray.Trays[0].Number = 1;
    const std::vector<uint8_t> file = encodeSavedGame(withTray);
    const std::size_t pieces = good.Pieces.size();
    const std::size_t boundaries[] = {0,
                                      kGameStateSize,
                                      kGameStateSize + kGameExtraSize,
                                      kGameStateSize + kGameExtraSize + pieces * kPieceBlockASize,
                                      kGameStateSize + kGameExtraSize +
                                          pieces * (kPieceBlockASize + kPieceBlockBSize),
                                      file.size() - kSettingsBlockSize - TrayRecord::kSize,
                                      file.size() - kSettingsBlockSize};
    for (const std::size_t length : boundaries) {
        expectSetAside(std::vector<uint8_t>(file.begin(), file.begin() + std::ptrdiff_t(length)),
                       "cut at " + std::to_string(length));
    }

    SavedGame grid = good;
    grid.State.Cols = uint16_t(good.State.Cols + 1);
    grid.State.PieceCount = uint16_t(grid.State.Cols * grid.State.Rows);
    grid.Pieces.resize(grid.State.PieceCount);
    expectSetAside(encodeSavedGame(grid), "another grid");

    SavedGame count = good;
    count.State.PieceCount = uint16_t(good.State.PieceCount - 1);
    count.Pieces.pop_back();
    expectSetAside(encodeSavedGame(count), "a piece count off the grid");

    SavedGame other = good;
    other.State.Seed = good.State.Seed + 1;
    expectSetAside(encodeSavedGame(other), "another gift");
}

TEST_F(ResumeTest, ValuesOutOfRangeAreMendedAndTheGameResumes) {
    SavedGame game = newGameImage();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    game.Pieces[0].RelX = nan;
    game.Pieces[0].RelY = 1e300;
    game.Pieces[1].GroupId = 3000000000u;            // above every sane number
    game.Pieces[2].GroupId = game.Pieces[3].GroupId; // two loose pieces sharing a group
    game.State.ScalePercent = 0;
    game.State.ElapsedSeconds = -20;
    game.State.SolvedCount = 999;
    game.Trays.resize(3);
    game.Trays[0].Number = 0; // the main board area's number
    game.Trays[1].Number = 4;
    game.Trays[2].Number = 4; // taken already
    game.Settings.BoardWidth = 1 << 30;
    game.Settings.BoardHeight = 1 << 30;
    game.Settings.RotationOn = 1;
    std::vector<uint8_t> bytes = encodeSavedGame(game);
    const std::size_t blockB = kGameStateSize + kGameExtraSize + game.Pieces.size() * kPieceBlockASize;
    bytes[blockB + 4 * kPieceBlockBSize + 18] = 7; // piece 4's Rotation

    test::FakeHost host;
    std::unique_ptr<TJigsaw> jig;
    ASSERT_TRUE(resume(bytes, host, jig));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(fs::exists(savePath()));
    EXPECT_EQ(jig->State.ScalePercent, 100);
    EXPECT_EQ(jig->State.ElapsedSeconds, 0);
    EXPECT_EQ(jig->State.SolvedCount, 0);
    EXPECT_EQ(jig->Config.BoardWidth, 640);
    EXPECT_EQ(jig->BackBuffer.width(), 640);
    EXPECT_EQ(jig->Pieces[4]->Rotation, 3);
    EXPECT_NE(jig->Pieces[2]->GroupId, jig->Pieces[3]->GroupId);
    for (const TFormPiece* p : jig->Pieces) {
        EXPECT_LT(p->GroupId, jig->State.NextGroupId);
        EXPECT_TRUE(std::isfinite(p->RelX) && std::isfinite(p->RelY));
    }
    // One user tray: number 0 and the second 4 are dropped.
    ASSERT_EQ(jig->Trays.size(), 2u);
    EXPECT_EQ(jig->Trays[1]->Number, 4);
}

TEST_F(ResumeTest, TurnedPiecesWithRotationOffAreTurnedUprightOrRotationGoesOn) {
    SavedGame game = newGameImage();
    game.Settings.RotationOn = 0;
    game.Pieces[2].Rotation = 1;
    std::swap(game.Pieces[2].Width, game.Pieces[2].Height);
    const std::vector<uint8_t> bytes = encodeSavedGame(game);

    test::FakeHost yes;
    yes.answer = Answer::Yes;
    std::unique_ptr<TJigsaw> upright;
    ASSERT_TRUE(resume(bytes, yes, upright));
    ASSERT_EQ(yes.questions.size(), 1u);
    EXPECT_EQ(yes.questions[0], kResumeRotatedQuestion);
    EXPECT_EQ(upright->Pieces[2]->Rotation, 0);
    EXPECT_FALSE(upright->Config.RotationOn);

    test::FakeHost no;
    no.answer = Answer::No;
    std::unique_ptr<TJigsaw> turned;
    ASSERT_TRUE(resume(bytes, no, turned));
    EXPECT_EQ(turned->Pieces[2]->Rotation, 1);
    // Turned, the piece's box is its upright box on its side.
    EXPECT_EQ(turned->Pieces[2]->Width, upright->Pieces[2]->Height);
    EXPECT_EQ(turned->Pieces[2]->Height, upright->Pieces[2]->Width);
    EXPECT_TRUE(turned->Config.RotationOn);
}

TEST_F(ResumeTest, ASettingsBlockWithMarkerThreeChangesNoOption) {
    SavedGame game = newGameImage();
    game.Settings.ShadowsOn = 0;
    game.Settings.CheatingOn = 0;
    game.Settings.OutlineStyle = 0;
    std::vector<uint8_t> bytes = encodeSavedGame(game);
    bytes[bytes.size() - 4] = 3;
    test::FakeHost host;
    std::unique_ptr<TJigsaw> jig;
    ASSERT_TRUE(resume(bytes, host, jig));
    EXPECT_TRUE(jig->Config.ShadowsOn);
    EXPECT_TRUE(jig->Config.CheatingOn);
    EXPECT_EQ(jig->Config.OutlineStyle, 2);

    // The same block with marker 4 is applied.
    bytes[bytes.size() - 4] = 4;
    std::unique_ptr<TJigsaw> again;
    ASSERT_TRUE(resume(bytes, host, again));
    EXPECT_FALSE(again->Config.ShadowsOn);
    EXPECT_FALSE(again->Config.CheatingOn);
    EXPECT_EQ(again->Config.OutlineStyle, 0);
}

TEST_F(ResumeTest, AResumedTrayIsARealTrayAtItsStoredPlace) {
    SavedGame game = newGameImage();
    game.Trays.resize(1);
    TrayRecord& tray = game.Trays[0];
    tray.Number = 3;
    tray.Left = 100;
    tray.Top = 80;
    tray.Width = 200;
    tray.Height = 150;
    tray.Description = "Sky";
    // Piece 0 lies at the client area's top-left; piece 1 far outside it.
    const double refW = game.State.PictureWidth;
    const double refH = game.State.PictureHeight;
    game.Pieces[0].TrayIndex = 3;
    game.Pieces[0].RelX = 108;
    game.Pieces[0].RelY = 104;
    game.Pieces[1].TrayIndex = 3;
    game.Pieces[1].RelX = 108 + 5000 * refW / 184;
    game.Pieces[1].RelY = 104 + 3000 * refH / 118;

    test::FakeHost host;
    std::unique_ptr<TJigsaw> jig;
    ASSERT_TRUE(resume(encodeSavedGame(game), host, jig));
    ASSERT_EQ(jig->Trays.size(), 2u);
    TBox& box = *jig->Trays[1];
    EXPECT_EQ(box.Description, "Sky");
    EXPECT_EQ(box.ClientRect(), (Rect{108, 104, 292, 222}));
    EXPECT_EQ(box.OuterRect(), (Rect{100, 80, 300, 230}));

    TFormPiece& first = *jig->Pieces[0];
    TFormPiece& second = *jig->Pieces[1];
    EXPECT_EQ(first.TrayIndex, 3);
    EXPECT_EQ(first.Left, 108);
    EXPECT_EQ(first.Top, 104);
    // Pushed back from (5108, 3104) until it shows inside the client area.
    EXPECT_EQ(second.TrayIndex, 3);
    EXPECT_TRUE(second.boardRect().intersects(Rect{108, 104, 292, 222}));
    EXPECT_LT(second.Left, 292);
    EXPECT_LT(second.Top, 222);

    // A click on the piece inside the tray picks it.
    Point at{-1, -1};
    for (int32_t y = first.Top; y < first.Top + first.Height && at.X < 0; ++y) {
        for (int32_t x = first.Left; x < first.Left + first.Width; ++x) {
            if (jig->hitTest(first, x, y) && &jig->TrayAt(x, y) == &box) {
                at = {x, y};
                break;
            }
        }
    }
    ASSERT_GE(at.X, 0);
    EXPECT_EQ(box.PieceAtPoint(at.X, at.Y, true, jig->MaskAtlas), &first);
    jig->BoardMouseDown(MouseButton::Left, at.X, at.Y);
    ASSERT_FALSE(jig->MovingPieces.empty());
    EXPECT_EQ(jig->MovingPieces.front(), &first);
    jig->BoardMouseUp(at.X, at.Y);
}

TEST_F(ResumeTest, SavingWithTheGiftsFolderUnwritableResumesFromTheDataFolder) {
    std::ofstream((m_dir / "file").string()) << "x";
    test::FakeHost host;
    auto jig = built(host);
    jig->ProgramPath = (m_dir / "file" / "gift.bin").string();
    ASSERT_FALSE(jig->TryResume());
    jig->State.ElapsedSeconds = 321;
    ASSERT_TRUE(jig->SaveGame());
    const SavedGameFiles files(jig->ProgramPath, jig->DataHome);
    EXPECT_TRUE(fs::exists(files.inDataFolder(SavedGameFiles::Kind::Save)));

    test::FakeHost host2;
    auto next = built(host2);
    next->ProgramPath = jig->ProgramPath;
    ASSERT_TRUE(next->TryResume());
    EXPECT_EQ(next->State.ElapsedSeconds, 321);
    EXPECT_TRUE(next->DeleteSavedGame());
    EXPECT_FALSE(files.findResumable().has_value());
}

} // namespace
} // namespace zg
