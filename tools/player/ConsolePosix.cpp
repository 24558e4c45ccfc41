#include "tools/player/Console.h"

#include <csignal>

namespace
{
volatile std::sig_atomic_t stopSignal = 0;

void OnStopSignal(int /*signal*/)
{
    stopSignal = 1;
}
} // namespace

void InstallStopSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopSignalReceived()
{
    return stopSignal != 0;
}
