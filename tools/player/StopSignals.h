// Ctrl-C and SIGTERM ask the player to stop (with its short fade) instead of ending the process.
#pragma once

void InstallStopSignals();
bool StopSignalReceived();
