#include "GiftTestSupport.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "gfx/Jpeg.h"
#include "gfx/JpegEncode.h"
#include "support/JpegMaker.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

std::vector<uint8_t> giftWithPicture(const std::vector<uint8_t>& picture) {
    return test::makeGiftBytes(test::sampleGiftInfo(), picture);
}

TEST(GiftPicture, PictureWithStrayBytesBeforeAMarkerOpens) {
    const Bitmap24 original = test::quarteredPicture(80, 60);
    const std::vector<uint8_t> stray = test::withStrayBytesBeforeFrame(encodeJpeg(original, 95));
    const Bitmap24 shown = GiftFile::fromBytes(giftWithPicture(stray)).LoadGiftPicture();
    ASSERT_EQ(shown.width(), 80);
    ASSERT_EQ(shown.height(), 60);
    EXPECT_LE(test::largestBlockColorDifference(shown, original), 4);
}

TEST(GiftPicture, TruncatedPictureGivesTheDamagedFileMessage) {
    std::vector<uint8_t> cut = encodeJpeg(test::quarteredPicture(80, 60), 95);
    cut.resize(cut.size() - cut.size() / 4);
    const GiftFile gift = GiftFile::fromBytes(giftWithPicture(cut));
    try {
        gift.LoadGiftPicture();
        FAIL() << "a truncated picture was shown";
    } catch (const GiftDamagedError& e) {
        EXPECT_STREQ(e.what(), kDamagedGiftMessage);
    }
}

} // namespace
} // namespace zg
