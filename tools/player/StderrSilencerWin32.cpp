#include "tools/player/StderrSilencer.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace tpm
{
StderrSilencer::StderrSilencer()
{
    std::fflush(stderr);
    const int null = _open("NUL", _O_WRONLY);
    if (null < 0)
        return;
    saved = _dup(_fileno(stderr));
    if (saved >= 0)
        _dup2(null, _fileno(stderr));
    _close(null);
}

StderrSilencer::~StderrSilencer()
{
    if (saved < 0)
        return;
    std::fflush(stderr);
    _dup2(saved, _fileno(stderr));
    _close(saved);
}
} // namespace tpm
