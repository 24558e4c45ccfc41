#pragma once

#include <chrono>

namespace tpm
{

// Decides, at each of the host's idle calls, whether a frame tick is due. Ticks fall on a fixed grid
// of the monotonic clock, so they never drift; at most one runs per call and ticks missed between two
// calls are dropped rather than run in a burst, so they never bunch. Hosts idle 10 to 60 times a
// second: from about 24 calls a second on, every grid tick runs.
class FrameClock
{
  public:
    using Clock = std::chrono::steady_clock;

    FrameClock(int framesPerSecond, Clock::time_point start);

    // True when a tick is due at `now`; the next one is then the first grid point after `now`.
    bool TickDue(Clock::time_point now);

  private:
    Clock::duration period_;
    Clock::time_point next_;
};

} // namespace tpm
