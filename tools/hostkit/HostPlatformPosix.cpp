#include "tools/hostkit/HostPlatform.h"

#include <unistd.h>

std::string SystemFilePath(const std::string& path)
{
    return path;
}

bool StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}
