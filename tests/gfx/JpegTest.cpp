#include "gfx/Jpeg.h"
#include "gfx/JpegEncode.h"
#include "support/JpegMaker.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

using test::InkForm;

TEST(JpegDecode, StrayBytesBeforeAMarkerDecodeTheSamePicture) {
    const std::vector<uint8_t> clean = encodeJpeg(test::quarteredPicture(64, 48), 90);
    const Bitmap24 expected = decodeJpeg(clean);
    EXPECT_EQ(decodeJpeg(test::withStrayBytesBeforeFrame(clean)), expected);
}

TEST(JpegDecode, PictureThatEndsEarlyIsRefused) {
    std::vector<uint8_t> cut = encodeJpeg(test::quarteredPicture(64, 48), 90);
    cut.resize(cut.size() * 2 / 3);
    EXPECT_THROW(decodeJpeg(cut), JpegError);
}

TEST(JpegDecode, InkPicturesShowTheColoursOfTheirOriginal) {
    const Bitmap24 original = test::quarteredPicture(96, 64);
    for (InkForm form : {InkForm::AdobeCmyk, InkForm::PlainCmyk, InkForm::AdobeYcck}) {
        SCOPED_TRACE(int(form));
        const Bitmap24 decoded = decodeJpeg(test::encodeInkJpeg(original, form));
        ASSERT_EQ(decoded.width(), 96);
        ASSERT_EQ(decoded.height(), 64);
        EXPECT_LE(test::largestBlockColorDifference(decoded, original), 4);
    }
}

} // namespace
} // namespace zg
