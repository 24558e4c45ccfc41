#include "core/ThreadCpuClock.h"

#include <ctime>

int64_t ThreadCpuNowNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}
