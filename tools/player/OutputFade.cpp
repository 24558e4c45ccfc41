#include "tools/player/OutputFade.h"

#include <algorithm>

namespace tpm
{
namespace
{
// 1 until `fade` frames before `deadline`, then falling linearly to 0 at its last frame.
double GainBefore(long long deadline, long long fade, long long position)
{
    return std::clamp(static_cast<double>(deadline - 1 - position) / static_cast<double>(fade), 0.0, 1.0);
}
} // namespace

OutputFade::OutputFade(long long sleepFrames, long long sleepFadeFrames, long long stopFadeFrames)
    : sleepFrames(sleepFrames), sleepFade(std::max(1LL, sleepFadeFrames)),
      stopFade(std::max(1LL, stopFadeFrames))
{
    silent = sleepFrames == 0;
}

void OutputFade::BeginStop()
{
    if (stopping)
        return;
    stopping = true;
    stopLeft = stopFade;
}

float OutputFade::Next()
{
    if (silent)
        return 0.0f;
    double gain = 1.0;
    if (sleepFrames >= 0)
        gain = GainBefore(sleepFrames, sleepFade, position);
    if (endFrames >= 0)
        gain = std::min(gain, GainBefore(endFrames, stopFade, position));
    if (stopping)
    {
        stopLeft = std::max(0LL, stopLeft - 1);
        gain = std::min(gain, static_cast<double>(stopLeft) / static_cast<double>(stopFade));
    }
    ++position;
    silent = gain <= 0.0;
    return static_cast<float>(gain);
}
} // namespace tpm
