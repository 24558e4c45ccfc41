// The player's terminal: Ctrl-C and termination requests ask it to stop (with its short fade)
// instead of ending the process, and the status line is drawn only on a terminal.
#pragma once

void InstallStopSignals();
bool StopSignalReceived();
bool StderrIsTerminal();
