#include "ToolRunner.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace zg {
namespace {

using namespace zg::test;

namespace fs = std::filesystem;

/// Runs gift-maker and the outputs of one gift in a private folder.
class GiftMakerTest : public ::testing::Test {
protected:
    void SetUp() override {
        maker = env("ZG_GIFT_MAKER");
        player = env("ZG_PLAYER");
        assets = env("ZG_ASSETS");
        if (maker.empty() || player.empty() || assets.empty()) {
            GTEST_SKIP() << "ZG_GIFT_MAKER, ZG_PLAYER and ZG_ASSETS must be set";
        }
        dir = makePrivateFolder("zg-maker");
        picture = fs::path(assets) / "demo" / "picture.jpg";
        music = fs::path(assets) / "demo" / "music.mid";
        gift = dir / "gift";
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir.empty()) {
            fs::remove_all(dir, ignored);
        }
    }

    RunResult run(const std::vector<std::string>& args) { return runProgram(maker, args, dir); }

    /// Makes a gift from the demo picture with the given extra options.
    RunResult make(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--player", player, "--created", "2024-03-05 07:08:09"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {picture.string(), "-o", gift.string()});
        return run(args);
    }

    /// Names in `dir` other than the ones a test put there itself.
    std::vector<std::string> leftovers(const std::vector<std::string>& inputs = {}) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (std::find(inputs.begin(), inputs.end(), name) == inputs.end()) {
                names.push_back(name);
            }
        }
        return names;
    }

    void expectRefused(const RunResult& r, const std::string& mention,
                       const std::vector<std::string>& inputs = {}) {
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
        EXPECT_TRUE(leftovers(inputs).empty()) << "files left behind: " << leftovers(inputs).front();
    }

    std::string maker, player, assets;
    fs::path dir, picture, music, gift;
};

TEST_F(GiftMakerTest, EveryOptionReadsBackFromTheGift) {
    const RunResult r = make({"--title",
                              "Caf\u00E9 \u201Cdemo\u201D",
                              "--creator",
                              "Ren\u00E9e",
                              "--description",
                              "Line one\nLine two",
                              "--start-message",
                              "Welcome!",
                              "--end-message=Goodbye",
                              "--start-font",
                              "Liberation Serif,-16,bu",
                              "--end-font",
                              "DejaVu Sans Mono,12",
                              "--start-font-color",
                              "clRed",
                              "--end-font-color",
                              "$00112233",
                              "--end-font-pitch",
                              "fixed",
                              "--start-background",
                              "CLINFOBK",
                              "--end-background",
                              "$00FF00",
                              "--start-align",
                              "left",
                              "--end-align",
                              "right",
                              "--background-color",
                              "clTeal",
                              "--pieces",
                              "100",
                              "--oddness",
                              "7",
                              "--style",
                              "stars",
                              "--outline",
                              "wood",
                              "--rotation",
                              "on",
                              "--seed",
                              "12345",
                              "--maker-version",
                              "v4.04",
                              "--music",
                              music.string()});
    ASSERT_EQ(r.status, 0) << r.err;

    const GiftFile read = GiftFile::open(gift.string());
    const TGiftInfo& info = read.info();
    const std::vector<uint8_t> playerBytes = readBytes(player);
    const std::vector<uint8_t> pictureBytes = readBytes(picture);
    const std::vector<uint8_t> musicBytes = readBytes(music);
    EXPECT_EQ(info.TrailerSize, kGiftTrailerSize);
    EXPECT_EQ(info.PictureOffset, playerBytes.size());
    EXPECT_EQ(info.PictureLength, pictureBytes.size());
    EXPECT_EQ(info.MusicOffset, playerBytes.size() + pictureBytes.size());
    EXPECT_EQ(info.MusicLength, int32_t(musicBytes.size()));
    EXPECT_EQ(info.MakerVersion, "v4.04");
    EXPECT_EQ(formatGiftDate(info.Created), "2024-03-05 07:08:09");
    EXPECT_EQ(info.Title, "Caf\u00E9 \u201Cdemo\u201D");
    EXPECT_EQ(info.Creator, "Ren\u00E9e");
    EXPECT_EQ(info.Description, "Line one\r\nLine two");
    EXPECT_EQ(info.BackgroundColor, 0x808000u);
    EXPECT_EQ(info.RequestedPieces, 100);
    EXPECT_EQ(info.Oddness, 7);
    EXPECT_EQ(info.Seed, 12345u);
    EXPECT_EQ(info.StartMessage, "Welcome!");
    EXPECT_EQ(info.EndMessage, "Goodbye");
    EXPECT_EQ(info.StartFont,
              (TGiftFont{0x0000FF, -16, kPitchDefault, kFontBold | kFontUnderline, "Liberation Serif"}));
    EXPECT_EQ(info.EndFont, (TGiftFont{0x00112233, 12, kPitchFixed, 0, "DejaVu Sans Mono"}));
    EXPECT_EQ(info.StartBackground, "CLINFOBK");
    EXPECT_EQ(info.EndBackground, "$00FF00");
    EXPECT_EQ(info.StartAlign, kAlignLeft);
    EXPECT_EQ(info.EndAlign, kAlignRight);
    EXPECT_EQ(info.Style, 4);
    EXPECT_EQ(info.OutlineStyle, 3);
    EXPECT_EQ(info.RotationOn, 1);

    const std::vector<uint8_t> all = readBytes(gift);
    EXPECT_TRUE(std::equal(playerBytes.begin(), playerBytes.end(), all.begin()));
    EXPECT_EQ(read.pictureBytes(), pictureBytes);
    EXPECT_TRUE(read.hasMusic());
    EXPECT_EQ(read.musicBytes(), musicBytes);
    EXPECT_EQ(read.LoadGiftPicture().width(), 480);
    EXPECT_EQ(fs::status(gift).permissions() & fs::perms::all, fs::perms(0755));
    EXPECT_TRUE(leftovers({"gift"}).empty());
}

TEST_F(GiftMakerTest, DefaultsAreThoseOfANewGift) {
    ASSERT_EQ(make({}).status, 0);
    const GiftFile read = GiftFile::open(gift.string());
    const TGiftInfo& info = read.info();
    EXPECT_EQ(info.MakerVersion, "v2.21");
    EXPECT_EQ(info.RequestedPieces, 42);
    EXPECT_EQ(info.Oddness, 2);
    EXPECT_EQ(info.Style, 1);
    EXPECT_EQ(info.OutlineStyle, 2);
    EXPECT_EQ(info.RotationOn, 0);
    EXPECT_EQ(info.BackgroundColor, 0x80000005u);
    EXPECT_EQ(info.StartBackground, "clWindow");
    EXPECT_EQ(info.EndBackground, "clWindow");
    EXPECT_EQ(info.StartAlign, kAlignCenter);
    EXPECT_EQ(info.EndAlign, kAlignCenter);
    EXPECT_EQ(info.Title, "");
    EXPECT_FALSE(read.hasMusic());
    // Without music the music offset is the trailer's own offset.
    EXPECT_EQ(info.MusicLength, 0);
    EXPECT_EQ(info.MusicOffset, read.fileSize() - kGiftTrailerSize);
}

TEST_F(GiftMakerTest, SamePictureGivesTheSameSeed) {
    ASSERT_EQ(make({}).status, 0);
    const uint32_t first = GiftFile::open(gift.string()).info().Seed;
    ASSERT_EQ(make({"--title", "another"}).status, 0);
    EXPECT_EQ(GiftFile::open(gift.string()).info().Seed, first);

    std::vector<uint8_t> other = readBytes(picture);
    other.insert(other.end(), {0, 0}); // trailing bytes after the image end change the file, not the picture
    picture = dir / "other.jpg";
    writeBytes(picture, other);
    ASSERT_EQ(make({}).status, 0);
    EXPECT_NE(GiftFile::open(gift.string()).info().Seed, first);
}

TEST_F(GiftMakerTest, DescriptionFileLinesBecomeCrLf) {
    const fs::path text = dir / "about.txt";
    writeBytes(text, {0xEF, 0xBB, 0xBF, 'o', 'n', 'e', '\n', 't', 'w', 'o', '\n', '\n'});
    ASSERT_EQ(make({"--description-file", text.string()}).status, 0);
    EXPECT_EQ(GiftFile::open(gift.string()).info().Description, "one\r\ntwo");
}

TEST_F(GiftMakerTest, CorruptPictureIsRefused) {
    std::vector<uint8_t> half = readBytes(picture);
    half.resize(half.size() / 2);
    picture = dir / "broken.jpg";
    writeBytes(picture, half);
    expectRefused(make({}), "broken.jpg", {"broken.jpg"});
}

TEST_F(GiftMakerTest, PictureThatCannotBeCutIsRefused) {
    picture = fs::path(assets).parent_path() / "tests" / "data" / "strip.jpg"; // 64 x 3
    ASSERT_TRUE(fs::exists(picture));
    expectRefused(make({}), "cannot be cut");
}

TEST_F(GiftMakerTest, MusicThatIsNoMidiFileIsRefused) {
    expectRefused(make({"--music", picture.string()}), "MIDI");
}

TEST_F(GiftMakerTest, TooLongTitleIsRefusedNamingTheOption) {
    expectRefused(make({"--title", std::string(65, 't')}), "--title");
}

TEST_F(GiftMakerTest, CharacterWithoutCodePageFormIsRefused) {
    expectRefused(make({"--start-message", "Have fun \U0001F600"}), "--start-message");
    expectRefused(make({"--creator", "\u4E2D"}), "--creator");
}

TEST_F(GiftMakerTest, FailedRunKeepsAnExistingOutput) {
    writeBytes(gift, {'o', 'l', 'd'});
    expectRefused(make({"--title", std::string(100, 'x')}), "--title", {"gift"});
    EXPECT_EQ(readText(gift), "old");
}

TEST_F(GiftMakerTest, PlayerThatAlreadyCarriesAGiftIsRefused) {
    ASSERT_EQ(make({}).status, 0);
    player = (dir / "gift").string();
    gift = dir / "second";
    expectRefused(make({}), "already carries a gift", {"gift"});
}

TEST_F(GiftMakerTest, UsageErrorsExitWithTwo) {
    EXPECT_EQ(run({"--no-such-option", picture.string(), "-o", gift.string()}).status, 2);
    EXPECT_EQ(run({picture.string()}).status, 2);
    EXPECT_EQ(run({"-o", gift.string()}).status, 2);
    EXPECT_EQ(run({"--pieces", "many", picture.string(), "-o", gift.string()}).status, 2);
    EXPECT_EQ(run({"--style", "hexagons", picture.string(), "-o", gift.string()}).status, 2);
    EXPECT_EQ(run({"--start-background", "clNothing", picture.string(), "-o", gift.string()}).status, 2);
    EXPECT_EQ(run({"--created", "2023-02-29", picture.string(), "-o", gift.string()}).status, 2);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(GiftMakerTest, InfoListsEveryFieldInTrailerOrder) {
    ASSERT_EQ(
        make({"--title", "Tea\u00E9", "--start-message", "a\nb", "--seed", "77", "--style", "blip"}).status,
        0);
    const RunResult r = run({"info", gift.string()});
    ASSERT_EQ(r.status, 0) << r.err;

    const std::vector<std::string> names = {"Kind",
                                            "TrailerSize",
                                            "PictureOffset",
                                            "PictureLength",
                                            "MusicOffset",
                                            "MusicLength",
                                            "MakerVersion",
                                            "Created",
                                            "Title",
                                            "Creator",
                                            "Description",
                                            "BackgroundColor",
                                            "RequestedPieces",
                                            "Oddness",
                                            "Seed",
                                            "StartMessage",
                                            "EndMessage",
                                            "StartFont.Color",
                                            "StartFont.Height",
                                            "StartFont.Pitch",
                                            "StartFont.Style",
                                            "StartFont.Name",
                                            "EndFont.Color",
                                            "EndFont.Height",
                                            "EndFont.Pitch",
                                            "EndFont.Style",
                                            "EndFont.Name",
                                            "StartBackground",
                                            "EndBackground",
                                            "StartAlign",
                                            "EndAlign",
                                            "Style",
                                            "OutlineStyle",
                                            "RotationOn"};
    std::istringstream lines(r.out);
    std::vector<std::string> seen;
    std::map<std::string, std::string> values;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        ASSERT_NE(colon, std::string::npos) << line;
        seen.push_back(line.substr(0, colon));
        values[seen.back()] = line.substr(colon + 2);
    }
    EXPECT_EQ(seen, names);
    EXPECT_EQ(values["TrailerSize"], "3421");
    EXPECT_EQ(values["Title"], "Tea\u00E9");
    EXPECT_EQ(values["Created"], "2024-03-05 07:08:09");
    EXPECT_EQ(values["StartMessage"], "a\\r\\nb");
    EXPECT_EQ(values["Seed"], "77");
    EXPECT_EQ(values["Style"], "2 (Blip)");
    EXPECT_EQ(values["BackgroundColor"], "$80000005 (clWindow)");
    EXPECT_EQ(values["PictureLength"], std::to_string(fs::file_size(picture)));
}

TEST_F(GiftMakerTest, InfoOnADamagedGiftFails) {
    ASSERT_EQ(make({}).status, 0);
    std::vector<uint8_t> bytes = readBytes(gift);
    bytes[bytes.size() - kGiftTrailerSize] = 0x5C; // TrailerSize 3420
    writeBytes(gift, bytes);
    RunResult r = run({"info", gift.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(kDamagedGiftMessage), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    writeBytes(gift, std::vector<uint8_t>(100, 0));
    r = run({"info", gift.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(kDamagedGiftMessage), std::string::npos) << r.err;
}

TEST_F(GiftMakerTest, HelpNamesEveryOption) {
    const RunResult r = run({"--help"});
    ASSERT_EQ(r.status, 0);
    for (const char* option : {"--output",         "--music",
                               "--player",         "--system-libraries",
                               "--title",          "--creator",
                               "--description",    "--description-file",
                               "--start-message",  "--start-message-file",
                               "--end-message",    "--end-message-file",
                               "--maker-version",  "--start-font",
                               "--end-font",       "--start-font-color",
                               "--end-font-color", "--start-font-pitch",
                               "--end-font-pitch", "--start-background",
                               "--end-background", "--start-align",
                               "--end-align",      "--background-color",
                               "--pieces",         "--oddness",
                               "--style",          "--outline",
                               "--rotation",       "--seed",
                               "--created",        "--max-size",
                               "--keep-size",      "gift-maker info"}) {
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    }
}

} // namespace
} // namespace zg
