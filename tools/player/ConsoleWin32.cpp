#include "tools/player/Console.h"

#include <atomic>
#include <windows.h>

namespace tpm
{
namespace
{
constexpr DWORD kCloseGraceMs = 3000; // the fade and the closing report take well under this

std::atomic<bool> stopRequested{false};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    stopRequested.store(true);
    // A closing console ends the process as soon as this returns: give the player time to fade
    // out and finish; it exits on its own meanwhile.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(kCloseGraceMs);
    return TRUE;
}
} // namespace

void HoldStopSignals()
{
    // Console events arrive on a thread of their own and break no other thread's calls.
}

void InstallStopSignals()
{
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool StopSignalReceived()
{
    return stopRequested.load();
}
} // namespace tpm
