#include "files/SavedGame.h"
#include "files/PackedIo.h"
#include "files/Real48.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zg {
namespace {

Real48 bytes(std::initializer_list<uint8_t> b) {
    Real48 r{};
    std::copy(b.begin(), b.end(), r.begin());
    return r;
}

double back(const Real48& r) {
    return fromReal48(std::span<const uint8_t, 6>(r));
}

TEST(Real48Test, WorkedExamplesHaveTheirExactBytes) {
    EXPECT_EQ(toReal48(0.0), bytes({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(toReal48(1.0), bytes({0x81, 0, 0, 0, 0, 0}));
    EXPECT_EQ(toReal48(-1.0), bytes({0x81, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(toReal48(0.5), bytes({0x80, 0, 0, 0, 0, 0}));
    EXPECT_EQ(toReal48(123.5), bytes({0x87, 0, 0, 0, 0, 0x77}));
    EXPECT_EQ(back(bytes({0, 0x12, 0x34, 0, 0, 0x80})), 0.0);
    EXPECT_EQ(back(bytes({0x87, 0, 0, 0, 0, 0x77})), 123.5);
    EXPECT_EQ(back(bytes({0x81, 0, 0, 0, 0, 0x80})), -1.0);
}

TEST(Real48Test, AFractionRoundingUpToAWholeCarriesIntoTheExponent) {
    EXPECT_EQ(toReal48(1.99999999999999), bytes({0x82, 0, 0, 0, 0, 0}));
    EXPECT_EQ(toReal48(-3.999999999999999), bytes({0x83, 0, 0, 0, 0, 0x80}));
}

TEST(Real48Test, ValuesOutsideTheFormatNeverFailASave) {
    EXPECT_EQ(toReal48(std::numeric_limits<double>::quiet_NaN()), bytes({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(toReal48(-std::numeric_limits<double>::infinity()), bytes({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(toReal48(1e-60), bytes({0, 0, 0, 0, 0, 0}));
    // Too large: the largest Real48 of the same sign.
    const Real48 huge = toReal48(-1e300);
    EXPECT_EQ(huge, bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_NEAR(back(huge), -std::ldexp(2.0, 126), std::ldexp(1.0, 90));
    // Fractions within the 39-bit precision come back unchanged.
    for (const double v : {0.1875, -2.75, 640.0 / 3.0, 1234567.25}) {
        EXPECT_NEAR(back(toReal48(v)), v, std::fabs(v) * 1e-11) << v;
    }
}

/// A 1 x 1 game, the smallest the reader accepts.
SavedGame oneCellGame() {
    SavedGame game;
    game.State.Version = 5;
    game.State.Cols = 1;
    game.State.Rows = 1;
    game.State.PieceCount = 1;
    game.State.Title =
        "Caf\u00E9 \U0001F600 with a title much longer than the sixty-four characters of its field";
    game.Pieces.resize(1);
    return game;
}

TEST(SavedGameTest, AnOddTurnSwapsTheStoredSizeBack) {
    SavedGame game = oneCellGame();
    SavedPiece& p = game.Pieces[0];
    p.Rotation = 1;
    p.Width = 40;
    p.Height = 60;
    p.RelX = 123.5;
    p.GroupId = 9;
    const std::vector<uint8_t> file = encodeSavedGame(game);
    ASSERT_EQ(file.size(), savedGameSize(5, 1, 1));

    const SavedGame read = parseSavedGame(file);
    EXPECT_EQ(read.Pieces[0].Width, 60);
    EXPECT_EQ(read.Pieces[0].Height, 40);
    EXPECT_EQ(read.Pieces[0].Rotation, 1);
    EXPECT_EQ(read.Pieces[0].RelX, 123.5);
    EXPECT_EQ(read.Pieces[0].GroupId, 9u);
    // A title that does not fit the code page or the field is cut, not refused.
    EXPECT_EQ(read.State.Title.rfind("Caf\u00E9 ? with a title", 0), 0u);
    EXPECT_EQ(file[46], 64);
}

TEST(SavedGameTest, RotationIsTakenModuloFour) {
    SavedGame game = oneCellGame();
    game.Pieces[0].Width = 40;
    game.Pieces[0].Height = 60;
    std::vector<uint8_t> file = encodeSavedGame(game);
    // Block B's rotation byte of the only piece.
    file[kGameStateSize + kGameExtraSize + kPieceBlockASize + 18] = 7;
    const SavedGame read = parseSavedGame(file);
    EXPECT_EQ(read.Pieces[0].Rotation, 3);
    EXPECT_EQ(read.Pieces[0].Width, 60);
}

TEST(SavedGameTest, TheTrayCountIsOneMoreThanTheRecordsThatFollow) {
    SavedGame game = oneCellGame();
    game.Extra.SavedTrayCount = 7; // stale, as after resuming a game with more trays
    game.Trays.resize(2);
    game.Trays[0].Number = 1;
    game.Trays[1].Number = 2;
    game.Trays[1].Description = std::string(200, 'x');
    const std::vector<uint8_t> file = encodeSavedGame(game);
    EXPECT_EQ(file[kGameStateSize + 8], 3);
    EXPECT_EQ(file.size(), savedGameSize(5, 1, 3));
    const SavedGame read = parseSavedGame(file);
    ASSERT_EQ(read.Trays.size(), 2u);
    EXPECT_EQ(read.Trays[1].Number, 2);
    EXPECT_EQ(read.Trays[1].Description, std::string(128, 'x'));
}

TEST(SavedGameTest, ARecordBelowVersionThreeTakesTheExtraDefaults) {
    SavedGame game = oneCellGame();
    game.Extra.TimeLimit = 77;
    game.Extra.FirstVisibleTray = 5;
    std::vector<uint8_t> file = encodeSavedGame(game);
    // Version 2 and no extra block.
    file[0] = 2;
    file.erase(file.begin() + kGameStateSize, file.begin() + kGameStateSize + kGameExtraSize);
    const SavedGame read = parseSavedGame(file);
    EXPECT_EQ(read.State.Version, 2);
    EXPECT_EQ(read.Extra.SavedTrayCount, 0);
    EXPECT_EQ(read.Extra.FirstVisibleTray, 1);
    EXPECT_EQ(read.Extra.TimeLimit, 600);
    EXPECT_EQ(read.Extra.NextStackStamp, 0);
    EXPECT_EQ(read.Settings.Marker, 4);
    // Written again it carries the extra block, so it must read as version 3.
    const std::vector<uint8_t> again = encodeSavedGame(read);
    EXPECT_EQ(again[0], 3);
    EXPECT_EQ(parseSavedGame(again).Extra.TimeLimit, 600);
}

TEST(SavedGameTest, AFileOfAnyOtherLengthIsRefused) {
    SavedGame game = oneCellGame();
    game.Trays.resize(1);
    game.Trays[0].Number = 1;
    const std::vector<uint8_t> file = encodeSavedGame(game);
    for (std::size_t length = 0; length < file.size(); ++length) {
        EXPECT_THROW(parseSavedGame(std::span(file.data(), length)), SavedGameError) << length;
    }
    std::vector<uint8_t> longer = file;
    longer.push_back(0);
    EXPECT_THROW(parseSavedGame(longer), SavedGameError);
    EXPECT_NO_THROW(parseSavedGame(file));
}

TEST(SavedGameTest, APieceCountOtherThanTheGridIsRefused) {
    SavedGame game = oneCellGame();
    std::vector<uint8_t> file = encodeSavedGame(game);
    file[4280] = 2; // Cols 2, PieceCount still 1
    EXPECT_THROW(parseSavedGame(file), SavedGameError);
}

TEST(SettingsBlockTest, OnlyAWholeBlockInRangeIsUsable) {
    SettingsBlock b;
    EXPECT_TRUE(b.usable());
    SettingsBlock marker3 = b;
    marker3.Marker = 3;
    EXPECT_FALSE(marker3.usable());
    SettingsBlock outline = b;
    outline.OutlineStyle = 4;
    EXPECT_FALSE(outline.usable());
    SettingsBlock divisor = b;
    divisor.SnapDivisor = 0;
    EXPECT_FALSE(divisor.usable());
    SettingsBlock flag = b;
    flag.SoundOn = 2;
    EXPECT_FALSE(flag.usable());
    SettingsBlock board = b;
    board.BoardWidth = 1 << 30;
    EXPECT_TRUE(board.usable()); // the board size is never applied
}

} // namespace
} // namespace zg
