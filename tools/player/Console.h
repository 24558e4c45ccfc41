// The player's terminal: Ctrl-C and termination requests ask it to stop (with its short fade)
// instead of ending the process.
#pragma once

void InstallStopSignals();
bool StopSignalReceived();
