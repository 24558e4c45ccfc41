#include "tools/player/StderrSilencer.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tpm
{
StderrSilencer::StderrSilencer()
{
    std::fflush(stderr);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0)
        return;
    saved = dup(STDERR_FILENO);
    if (saved >= 0)
        dup2(null, STDERR_FILENO);
    close(null);
}

StderrSilencer::~StderrSilencer()
{
    if (saved < 0)
        return;
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
}
} // namespace tpm
