// The player's terminal: Ctrl-C, termination requests and a closing terminal (SIGHUP) ask it to
// stop (with its short fade) instead of ending the process.
#pragma once

namespace tpm
{
// Holds the stop signals back from the calling thread and every thread it starts from now on
// (audio servers' clients, the input reader), so that none of them sees a system call broken by
// a signal. Call first, before any other thread exists; a signal that comes meanwhile waits.
void HoldStopSignals();
// From here on the calling thread alone takes the stop signals, and they only raise the flag.
void InstallStopSignals();
bool StopSignalReceived();
} // namespace tpm
