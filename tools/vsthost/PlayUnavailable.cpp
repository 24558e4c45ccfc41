// Builds without an audio library: `play` is there to say so.
#include "tools/vsthost/PlayCommand.h"

#include <cstdio>

namespace tpm
{
int RunPlay(const PlayOptions& /*options*/, const CommonHostOptions& /*host*/)
{
    std::fprintf(stderr, "vsthost: play is not available in this build\n");
    return 1;
}
} // namespace tpm
