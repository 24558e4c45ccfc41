#include "tools/hostkit/HostPlatform.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tpm
{
std::string SystemFilePath(const std::string& path)
{
    return path;
}

std::FILE* OpenSystemFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

long long PlainFileSize(std::FILE* file)
{
    struct stat info
    {
    };
    return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size)
                                                                    : -1;
}

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}
} // namespace tpm
