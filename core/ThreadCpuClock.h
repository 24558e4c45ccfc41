// The calling thread's own CPU time: unlike the wall clock it does not run while the thread is
// preempted, so it tells what a piece of work costs on a busy machine.
#pragma once

#include <cstdint>

// Nanoseconds of CPU time the calling thread has used (coarse on Windows).
int64_t ThreadCpuNowNs();
