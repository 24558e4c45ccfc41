#include "tools/player/Console.h"

#include <csignal>
#include <initializer_list>
#include <pthread.h>

namespace tpm
{
namespace
{
volatile std::sig_atomic_t stopSignal = 0;

void OnStopSignal(int /*signal*/)
{
    stopSignal = 1;
}

sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}
} // namespace

void HoldStopSignals()
{
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void InstallStopSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        struct sigaction before
        {
        };
        // A hang-up ignored on purpose (nohup) stays ignored: the player outlives its terminal.
        if (signal == SIGHUP && sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool StopSignalReceived()
{
    return stopSignal != 0;
}
} // namespace tpm
