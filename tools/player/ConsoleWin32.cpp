#include "tools/player/Console.h"

#include <atomic>
#include <cstdio>
#include <io.h>
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

bool StderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}
