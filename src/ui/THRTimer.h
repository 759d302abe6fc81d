#pragma once

#include <cstdint>

namespace zg {

/// The game's millisecond clock for short timed effects (flashes, glides,
/// animation steps). It reads a 64-bit steady clock, so it never jumps with
/// the wall clock and never wraps, and its waits sleep in slices of at most
/// one millisecond instead of spinning a core.
class THRTimer {
public:
    /// Creates the clock. The period is the granularity callers may expect
    /// from waits: the larger of `wantedPeriodMs` and the 1 ms the clock
    /// supports. The game asks for 10 ms.
    explicit THRTimer(int32_t wantedPeriodMs = 10);

    /// True: the steady clock is always there. Kept so callers can report it.
    bool available() const { return true; }
    /// The granularity in milliseconds chosen at creation.
    int32_t period() const { return m_period; }

    /// Milliseconds of the steady clock; never decreases.
    int64_t Now() const;

    /// Returns once Now() exceeds its value at the call plus `ms` (so more
    /// than `ms` milliseconds have passed). A negative `ms` counts as 0.
    void Delay(int64_t ms) const;

    /// Returns once Now() >= `deadline`; at once when it already is.
    void waitUntil(int64_t deadline) const;

private:
    int32_t m_period;
};

} // namespace zg
