#include "ui/THRTimer.h"

#include <gtest/gtest.h>

#include <ctime>

namespace zg {
namespace {

int64_t threadCpuMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return int64_t{ts.tv_sec} * 1'000'000 + ts.tv_nsec / 1'000;
}

TEST(THRTimer, DelayReturnsAfterMoreThanTheDelay) {
    const THRTimer timer;
    for (int i = 0; i < 5; ++i) {
        const int64_t start = timer.Now();
        timer.Delay(50);
        EXPECT_GT(timer.Now() - start, 50);
    }
}

TEST(THRTimer, NowNeverGoesBackAndAdvancesAcrossAWait) {
    const THRTimer timer;
    const int64_t first = timer.Now();
    int64_t previous = first;
    for (int i = 0; i < 100000; ++i) {
        const int64_t now = timer.Now();
        ASSERT_GE(now, previous);
        previous = now;
    }
    timer.Delay(5);
    EXPECT_GT(timer.Now(), first + 5);
}

TEST(THRTimer, WaitUntilReachesTheDeadline) {
    const THRTimer timer;
    const int64_t deadline = timer.Now() + 20;
    timer.waitUntil(deadline);
    EXPECT_GE(timer.Now(), deadline);
}

TEST(THRTimer, WaitUntilAPassedDeadlineReturnsAtOnce) {
    const THRTimer timer;
    const int64_t start = timer.Now();
    timer.waitUntil(start - 1000);
    EXPECT_LT(timer.Now() - start, 50);
}

TEST(THRTimer, DelaySleepsInsteadOfSpinning) {
    const THRTimer timer;
    const int64_t cpuBefore = threadCpuMicroseconds();
    timer.Delay(200);
    const int64_t cpuUsed = threadCpuMicroseconds() - cpuBefore;
    // A busy wait would burn about 200 ms of processor time.
    EXPECT_LT(cpuUsed, 60'000);
}

} // namespace
} // namespace zg
