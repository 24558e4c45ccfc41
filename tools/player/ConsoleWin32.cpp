#include "tools/player/Console.h"

#include <atomic>
#include <windows.h>

namespace
{
std::atomic<bool> stopRequested{false};

BOOL WINAPI OnConsoleEvent(DWORD /*event*/)
{
    stopRequested.store(true);
    return TRUE;
}
} // namespace

void InstallStopSignals()
{
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool StopSignalReceived()
{
    return stopRequested.load();
}
