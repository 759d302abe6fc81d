#include "ToolRunner.h"
#include "files/GiftFile.h"
#include "gfx/Jpeg.h"
#include "gfx/JpegEncode.h"
#include "support/JpegMaker.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zg {
namespace {

using namespace zg::test;

namespace fs = std::filesystem;

/// Makes gifts from pictures written by the test, in a private folder.
class GiftPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (env("ZG_GIFT_MAKER").empty() || env("ZG_PLAYER").empty()) {
            GTEST_SKIP() << "ZG_GIFT_MAKER and ZG_PLAYER must be set";
        }
        dir = makePrivateFolder("zg-picture");
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir.empty()) {
            fs::remove_all(dir, ignored);
        }
    }

    /// Runs gift-maker on `jpeg` with `extra` options; the gift is `dir/gift`.
    RunResult make(const std::vector<uint8_t>& jpeg, std::vector<std::string> extra = {}) {
        const fs::path picture = dir / "picture.jpg";
        writeBytes(picture, jpeg);
        extra.insert(extra.end(), {"--player", env("ZG_PLAYER"), picture.string(), "-o", gift().string()});
        return runProgram(env("ZG_GIFT_MAKER"), extra, dir);
    }

    fs::path gift() const { return dir / "gift"; }
    std::vector<uint8_t> storedBytes() const { return GiftFile::open(gift().string()).pictureBytes(); }
    Bitmap24 storedPicture() const { return GiftFile::open(gift().string()).LoadGiftPicture(); }

    fs::path dir;
};

TEST_F(GiftPictureTest, CompletePicturesWithUnusualEncodingsAreStoredAsGiven) {
    const Bitmap24 original = quarteredPicture(96, 64);
    const std::vector<std::vector<uint8_t>> pictures = {
        withStrayBytesBeforeFrame(encodeJpeg(original, 95)), encodeInkJpeg(original, InkForm::AdobeCmyk),
        encodeInkJpeg(original, InkForm::PlainCmyk), encodeInkJpeg(original, InkForm::AdobeYcck)};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        const RunResult r = make(pictures[i], {"--pieces", "12"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(storedBytes(), pictures[i]);
        EXPECT_LE(largestBlockColorDifference(storedPicture(), original), 4);
    }
}

TEST_F(GiftPictureTest, PhotoTakenUprightMakesAPortraitPuzzle) {
    // The camera stored the picture lying on its side (orientation 6: turn it
    // clockwise to view), as phones do for a photo taken upright.
    const Bitmap24 sideways = quarteredPicture(160, 120);
    Bitmap24 upright(120, 160);
    for (int32_t y = 0; y < 160; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            upright.setPixel(x, y, sideways.pixel(y, 119 - x));
        }
    }
    for (bool bigEndian : {true, false}) {
        SCOPED_TRACE(bigEndian);
        const RunResult r = make(withExifOrientation(encodeJpeg(sideways, 95), 6, bigEndian));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("EXIF orientation 6"), std::string::npos) << r.out;
        const Bitmap24 stored = storedPicture();
        ASSERT_EQ(stored.width(), 120);
        ASSERT_EQ(stored.height(), 160);
        EXPECT_LE(largestBlockColorDifference(stored, upright), 6);
    }
}

TEST_F(GiftPictureTest, LargePictureIsStoredAtMost1024OnItsLongerSide) {
    const Bitmap24 original = quarteredPicture(1600, 1200);
    const std::vector<uint8_t> large = encodeJpeg(original, 90);

    RunResult r = make(large);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1600 x 1200 to 1024 x 768"), std::string::npos) << r.out;
    Bitmap24 stored = storedPicture();
    ASSERT_EQ(stored.width(), 1024);
    ASSERT_EQ(stored.height(), 768);
    // Each quarter keeps its colour: compare points well inside them.
    for (const auto& [x, y] : {std::pair{400, 300}, {1200, 300}, {400, 900}, {1200, 900}}) {
        const Color want = original.pixel(x, y);
        const Color got = stored.pixel(x * 1024 / 1600, y * 768 / 1200);
        EXPECT_NEAR(redOf(got), redOf(want), 4) << x << "," << y;
        EXPECT_NEAR(greenOf(got), greenOf(want), 4) << x << "," << y;
        EXPECT_NEAR(blueOf(got), blueOf(want), 4) << x << "," << y;
    }

    ASSERT_EQ(make(large, {"--max-size", "300"}).status, 0);
    stored = storedPicture();
    EXPECT_EQ(stored.width(), 300);
    EXPECT_EQ(stored.height(), 225);

    r = make(large, {"--max-size", "300", "--keep-size"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(storedBytes(), large);
}

TEST_F(GiftPictureTest, PictureAtTheLimitIsStoredByteForByte) {
    const std::vector<uint8_t> portrait = encodeJpeg(quarteredPicture(700, 1024), 90);
    const RunResult r = make(portrait);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(storedBytes(), portrait);
}

} // namespace
} // namespace zg
