#include "editor/x11/FrameClock.h"

#include <algorithm>

namespace tpm
{

FrameClock::FrameClock(int framesPerSecond, Clock::time_point start)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
              std::max(1, framesPerSecond)),
      next_(start + period_)
{
}

bool FrameClock::TickDue(Clock::time_point now)
{
    if (now < next_)
        return false;
    next_ += period_ * ((now - next_) / period_ + 1);
    return true;
}

} // namespace tpm
