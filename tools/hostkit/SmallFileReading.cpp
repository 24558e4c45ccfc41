#include "tools/hostkit/SmallFileReading.h"

#include "tools/hostkit/HostPlatform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tpm
{
namespace
{
std::string SizeText(std::size_t bytes)
{
    return bytes >= (std::size_t{1} << 20) ? std::to_string(bytes >> 20) + " MB"
                                           : std::to_string(bytes) + " bytes";
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
} // namespace

bool ReadSmallFile(const std::string& path, const std::string& what, std::size_t maxBytes, std::string& bytes,
                   std::string& error)
{
    const std::string named = what + " '" + path + "'";
    bytes.clear();
    // On Linux a folder opens like a file and reads as nothing; on Windows it does not open.
    if (IsFolder(path))
    {
        error = named + " is a folder, not a file";
        return false;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(OpenSystemFile(path, "rb"));
    if (!file)
    {
        error = "cannot open " + named + ": " + std::strerror(errno);
        return false;
    }
    // Read in blocks up to just past the cap: a device such as /dev/zero has no size to check first.
    char block[65536];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file.get())) > 0)
    {
        if (bytes.size() + n > maxBytes)
        {
            error = named + " is larger than " + SizeText(maxBytes);
            error += "; it cannot be a " + what;
            bytes.clear();
            return false;
        }
        bytes.append(block, n);
    }
    if (std::ferror(file.get()))
    {
        error = "cannot read " + named + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
} // namespace tpm
