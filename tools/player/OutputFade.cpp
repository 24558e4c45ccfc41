#include "tools/player/OutputFade.h"

#include <algorithm>

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
        gain = std::clamp(static_cast<double>(sleepFrames - 1 - position) / static_cast<double>(sleepFade),
                          0.0, 1.0);
    if (stopping)
    {
        stopLeft = std::max(0LL, stopLeft - 1);
        gain = std::min(gain, static_cast<double>(stopLeft) / static_cast<double>(stopFade));
    }
    ++position;
    silent = gain <= 0.0;
    return static_cast<float>(gain);
}
