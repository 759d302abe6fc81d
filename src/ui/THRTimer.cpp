#include "ui/THRTimer.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace zg {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kSmallestPeriodMs = 1;
/// The longest single sleep, so a wait never overshoots its deadline by much
/// even when the scheduler rounds a sleep up.
constexpr auto kSleepSlice = std::chrono::milliseconds(1);

int64_t millisecondsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

} // namespace

THRTimer::THRTimer(int32_t wantedPeriodMs) : m_period(std::max(wantedPeriodMs, kSmallestPeriodMs)) {}

int64_t THRTimer::Now() const {
    return millisecondsNow();
}

void THRTimer::Delay(int64_t ms) const {
    // "More than ms have passed" is Now() >= start + ms + 1 on a whole-millisecond clock.
    waitUntil(Now() + std::max<int64_t>(ms, 0) + 1);
}

void THRTimer::waitUntil(int64_t deadline) const {
    const Clock::time_point target{std::chrono::milliseconds(deadline)};
    while (millisecondsNow() < deadline) {
        const auto left = target - Clock::now();
        std::this_thread::sleep_for(std::min<Clock::duration>(left, kSleepSlice));
    }
}

} // namespace zg
