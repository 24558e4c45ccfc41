// Descriptors are what an X11 editor could leak; X windows have no classes to count.
#include "support/EditorProbe.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace tpm
{
namespace editorprobe
{

int OpenHandles()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

long long MemoryInUse()
{
    long long pages = 0;
    long long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

WindowClass EditorWindowClass(void*)
{
    return {};
}

bool IsRegistered(const WindowClass&)
{
    return false;
}

} // namespace editorprobe
} // namespace tpm
