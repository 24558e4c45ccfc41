#include "editor/x11/FrameClock.h"

#include <gtest/gtest.h>

namespace tpm
{
using tpm::FrameClock;
using namespace std::chrono_literals;

// An hour of idle calls, 2 ms early and late in turn: the ticks neither drift from 24 a second nor
// come more than once per call.
TEST(FrameClock, TicksKeepTwentyFourASecondAtEveryHostIdleRate)
{
    for (const int idleRate : {10, 30, 60})
    {
        const FrameClock::Clock::time_point start{};
        FrameClock clock(24, start);
        long ticks = 0;
        const long calls = 3600L * idleRate;
        for (long i = 1; i <= calls; ++i)
        {
            const auto jitter = (i % 2 ? 2ms : -2ms);
            ticks += clock.TickDue(
                start + std::chrono::duration_cast<FrameClock::Clock::duration>(1s) * i / idleRate + jitter);
        }
        const long expected = idleRate >= 24 ? 24L * 3600 : calls;
        EXPECT_NEAR(ticks, expected, 1) << "idle calls per second: " << idleRate;
    }
}
} // namespace tpm
