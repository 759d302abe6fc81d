#include "GiftTestSupport.h"

#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "game/Grid.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

using test::makeGiftBytes;
using test::patchTrailer32;
using test::TempDir;

constexpr std::size_t kPictureOffsetField = 2;
constexpr std::size_t kPictureLengthField = 6;
constexpr std::size_t kMusicOffsetField = 10;
constexpr std::size_t kMusicLengthField = 14;

class GiftFileTest : public ::testing::Test {
protected:
    GiftFile openBytes(const std::vector<uint8_t>& bytes) {
        const auto path = dir / "gift";
        test::writeBytes(path, bytes);
        return GiftFile::open(path.string());
    }

    TempDir dir;
    std::vector<uint8_t> jpeg = test::tinyJpeg();
    std::vector<uint8_t> midi = test::tinyMidi();
};

TEST_F(GiftFileTest, ReadsTheTrailerPictureAndMusic) {
    const TGiftInfo info = test::sampleGiftInfo();
    const std::vector<uint8_t> bytes = makeGiftBytes(info, jpeg, midi);
    const GiftFile gift = openBytes(bytes);

    TGiftInfo expected = info;
    expected.PictureOffset = 300;
    expected.PictureLength = uint32_t(jpeg.size());
    expected.MusicOffset = uint32_t(300 + jpeg.size());
    expected.MusicLength = int32_t(midi.size());
    EXPECT_EQ(gift.info(), expected);
    EXPECT_EQ(gift.fileSize(), bytes.size());
    EXPECT_EQ(gift.programPath(), (dir / "gift").string());
    EXPECT_TRUE(gift.hasMusic());
    EXPECT_EQ(gift.musicBytes(), midi);
    EXPECT_EQ(gift.pictureBytes(), jpeg);
    const Bitmap24 picture = gift.LoadGiftPicture();
    EXPECT_EQ(picture.width(), 64);
    EXPECT_EQ(picture.height(), 48);
}

TEST_F(GiftFileTest, InMemoryGiftMatchesTheFile) {
    const std::vector<uint8_t> bytes = makeGiftBytes(test::sampleGiftInfo(), jpeg, midi);
    const GiftFile fromFile = openBytes(bytes);
    const GiftFile fromMemory = GiftFile::fromBytes(bytes);
    EXPECT_EQ(fromMemory.info(), fromFile.info());
    EXPECT_TRUE(fromMemory.hasMusic());
    EXPECT_EQ(fromMemory.musicBytes(), midi);
    EXPECT_EQ(fromMemory.LoadGiftPicture(), fromFile.LoadGiftPicture());
}

TEST_F(GiftFileTest, FileShorterThanTheTrailerIsDamaged) {
    EXPECT_THROW(openBytes(std::vector<uint8_t>(3420, 0)), GiftDamagedError);
    EXPECT_THROW(openBytes({}), GiftDamagedError);
    EXPECT_THROW(GiftFile::fromBytes(std::vector<uint8_t>(3420, 0)), GiftDamagedError);
}

TEST_F(GiftFileTest, TrailerSize3420IsDamaged) {
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg);
    bytes[bytes.size() - kGiftTrailerSize] = 0x5C;
    EXPECT_THROW(openBytes(bytes), GiftDamagedError);
}

TEST_F(GiftFileTest, PictureReachingPastTheEndIsDamaged) {
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg);
    patchTrailer32(bytes, kPictureLengthField, uint32_t(bytes.size()));
    EXPECT_THROW(openBytes(bytes), GiftDamagedError);
    patchTrailer32(bytes, kPictureOffsetField, uint32_t(bytes.size() + 1));
    patchTrailer32(bytes, kPictureLengthField, 0);
    EXPECT_THROW(openBytes(bytes), GiftDamagedError);
}

TEST_F(GiftFileTest, PictureRangeThatWrapsIn32BitsIsDamaged) {
    // 0xFFFFFF00 + 0x200 wraps to 0x100 in 32 bits, which would lie inside the file.
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg);
    patchTrailer32(bytes, kPictureOffsetField, 0xFFFFFF00u);
    patchTrailer32(bytes, kPictureLengthField, 0x200u);
    EXPECT_THROW(openBytes(bytes), GiftDamagedError);
    EXPECT_THROW(GiftFile::fromBytes(bytes), GiftDamagedError);
}

TEST_F(GiftFileTest, EmptyPictureIsDamaged) {
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg);
    patchTrailer32(bytes, kPictureLengthField, 0);
    EXPECT_THROW(openBytes(bytes), GiftDamagedError);
}

TEST_F(GiftFileTest, TextBlockWithoutTerminatorIsDamaged) {
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg);
    std::fill_n(bytes.end() - kGiftTrailerSize + 1209, 1025, uint8_t('m'));
    EXPECT_THROW(openBytes(bytes), GiftDamagedError);
}

TEST_F(GiftFileTest, UndecodablePictureIsDamaged) {
    std::vector<uint8_t> broken = jpeg;
    broken.resize(broken.size() / 2);
    EXPECT_THROW(openBytes(makeGiftBytes(TGiftInfo{}, broken)).LoadGiftPicture(), GiftDamagedError);
    EXPECT_THROW(openBytes(makeGiftBytes(TGiftInfo{}, {'n', 'o', 'p', 'e'})).LoadGiftPicture(),
                 GiftDamagedError);
}

TEST_F(GiftFileTest, MusicOutsideTheFileMeansNoMusic) {
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg, midi);
    patchTrailer32(bytes, kMusicLengthField, uint32_t(bytes.size()));
    EXPECT_FALSE(openBytes(bytes).hasMusic());
    patchTrailer32(bytes, kMusicOffsetField, 0xFFFFFFF0u);
    patchTrailer32(bytes, kMusicLengthField, 0x20u);
    const GiftFile gift = openBytes(bytes);
    EXPECT_FALSE(gift.hasMusic());
    EXPECT_TRUE(gift.musicBytes().empty());
    EXPECT_EQ(gift.ExtractGiftMusic(dir.path().string()), "");
    EXPECT_FALSE(GiftFile::fromBytes(bytes).hasMusic());
}

TEST_F(GiftFileTest, MusicThatIsNoMidiFileMeansNoMusic) {
    EXPECT_FALSE(openBytes(makeGiftBytes(TGiftInfo{}, jpeg, {'R', 'I', 'F', 'F', 0, 0})).hasMusic());
    EXPECT_FALSE(openBytes(makeGiftBytes(TGiftInfo{}, jpeg, {'M', 'T', 'h'})).hasMusic());
    std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg, midi);
    patchTrailer32(bytes, kMusicLengthField, uint32_t(-5));
    EXPECT_FALSE(openBytes(bytes).hasMusic());
}

TEST_F(GiftFileTest, ExtractedMusicIsJig1InTheGivenFolder) {
    const GiftFile gift = openBytes(makeGiftBytes(TGiftInfo{}, jpeg, midi));
    TempDir musicDir;
    const std::string path = gift.ExtractGiftMusic(musicDir.path().string());
    EXPECT_EQ(path, (musicDir / "jig1.mid").string());
    EXPECT_EQ(test::readBytes(path), midi);
}

TEST_F(GiftFileTest, NoMusicExtractsNothing) {
    const GiftFile gift = openBytes(makeGiftBytes(TGiftInfo{}, jpeg));
    TempDir musicDir;
    EXPECT_EQ(gift.ExtractGiftMusic(musicDir.path().string()), "");
    EXPECT_TRUE(std::filesystem::is_empty(musicDir.path()));
}

TEST_F(GiftFileTest, UnwritableMusicFolderGivesNoMusicFile) {
    const GiftFile gift = openBytes(makeGiftBytes(TGiftInfo{}, jpeg, midi));
    EXPECT_EQ(gift.ExtractGiftMusic((dir / "no-such-folder").string()), "");
}

TEST_F(GiftFileTest, MissingFileIsAReadErrorNotDamage) {
    try {
        GiftFile::open((dir / "missing").string());
        FAIL() << "a missing file opened";
    } catch (const GiftDamagedError&) {
        FAIL() << "a missing file was called damaged";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos);
    }
}

TEST_F(GiftFileTest, FileThatShrankSinceOpeningIsDamaged) {
    const std::vector<uint8_t> bytes = makeGiftBytes(TGiftInfo{}, jpeg);
    const GiftFile gift = openBytes(bytes);
    test::writeBytes(dir / "gift", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 310));
    EXPECT_THROW(gift.LoadGiftPicture(), GiftDamagedError);
}

TEST(GiftProgram, RunningProgramFindsItsOwnFile) {
    const std::string self = currentExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(std::filesystem::exists(self));
    EXPECT_EQ(std::filesystem::path(self).filename(), "files_tests");
}

TEST(GiftGameState, RecordIsInitialisedFromTheGift) {
    TGiftInfo info = test::sampleGiftInfo();
    TGameState state;
    state.PieceCount = 99; // left for the cutter
    state.Cols = 11;
    state.Solved = 1;
    state.SolvedCount = 12;
    state.ElapsedSeconds = 500;
    state.CheatCount = 3;
    state.AutoSolved = 1;
    state.ScalePercent = 250;
    state.Spare1 = "old";
    state.Spare2 = "old";
    state.ReservedLast = 7;
    state.Version = 2;
    initGameState(info, state);

    EXPECT_EQ(state.Version, 5);
    EXPECT_EQ(state.MakerVersion, "v4.04");
    EXPECT_EQ(state.Created, 45292.5);
    EXPECT_EQ(state.Title, info.Title);
    EXPECT_EQ(state.Creator, info.Creator);
    EXPECT_EQ(state.RequestedPieces, 100);
    EXPECT_EQ(state.Oddness, 7);
    EXPECT_EQ(uint32_t(state.Seed), 0xDEADBEEFu);
    EXPECT_EQ(state.Style, 4);
    EXPECT_EQ(state.ScalePercent, 100);
    EXPECT_EQ(state.Reserved24, 24);
    EXPECT_EQ(state.Solved, 0);
    EXPECT_EQ(state.SolvedCount, 0);
    EXPECT_EQ(state.ElapsedSeconds, 0);
    EXPECT_EQ(state.CheatCount, 0);
    EXPECT_EQ(state.AutoSolved, 0);
    EXPECT_EQ(state.HasDescription, 1);
    EXPECT_EQ(state.Spare1, "");
    EXPECT_EQ(state.Spare2, "");
    EXPECT_EQ(state.ReservedLast, 0);
    EXPECT_EQ(state.PieceCount, 99);
    EXPECT_EQ(state.Cols, 11);

    // The description block keeps the file's bytes: CR LF and one-byte quotes.
    const std::string want = "First line\r\nSecond line \x93quoted\x94";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(state.Description.data()), want.size()), want);
    EXPECT_EQ(state.Description[want.size()], 0);
    EXPECT_EQ(state.Description[1024], 0);
}

TEST(GiftGameState, OverlongTitleIsCutTo64Characters) {
    TGiftInfo info;
    info.Title = std::string(64, 'a');
    auto trailer = serializeGiftInfo(info);
    trailer[42] = 250; // length byte beyond the capacity
    TGameState state;
    initGameState(parseGiftInfo(trailer), state);
    EXPECT_EQ(state.Title, std::string(64, 'a'));

    info.Title = std::string(70, 'b'); // a record built in memory is cut as well
    info.MakerVersion = "v1.234567890123456789";
    initGameState(info, state);
    EXPECT_EQ(state.Title, std::string(64, 'b'));
    EXPECT_EQ(state.MakerVersion, "v1.234567890123");
}

TEST(GiftGameState, TinyPictureGridCanBeCut) {
    const GiftFile gift = GiftFile::fromBytes(makeGiftBytes(TGiftInfo{}, test::tinyJpeg()));
    const Bitmap24 picture = gift.LoadGiftPicture();
    const GridSize grid = computeGrid(uint32_t(picture.width()), uint32_t(picture.height()), 42);
    EXPECT_GT(grid.pieceCount(), 0u);
}

} // namespace
} // namespace zg
