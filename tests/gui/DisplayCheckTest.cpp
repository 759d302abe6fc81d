// The start-up display check.

#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

namespace zg::test {
namespace {

TEST(DisplayCheck, FifteenBitsAndMorePass) {
    EXPECT_FALSE(displayDepthSuffices(8));
    EXPECT_FALSE(displayDepthSuffices(14));
    EXPECT_TRUE(displayDepthSuffices(15));
    EXPECT_TRUE(displayDepthSuffices(16));
    EXPECT_TRUE(displayDepthSuffices(32));
}

TEST(DisplayCheck, WarningCountsTheDisplaysColours) {
    EXPECT_EQ(
        lowColourWarning(8).toStdString(),
        "This program needs HiColor mode (64K colors) or better and so is unable to continue while your "
        "Windows desktop is set to 256 colors. Would you like to change your settings now?");
    EXPECT_TRUE(lowColourWarning(4).contains(QStringLiteral(" 16 colors.")));
}

} // namespace
} // namespace zg::test
