#include "tools/hostkit/HostPlatform.h"
#include "tools/hostkit/ReplacingFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace tpm
{
namespace
{
// The temporary file Ctrl-C or closing the console must not leave behind; one file at a time.
wchar_t pendingPath[MAX_PATH * 4] = {};
std::atomic<bool> pendingSet{false};

BOOL WINAPI RemovePendingFile(DWORD)
{
    if (pendingSet.exchange(false))
        DeleteFileW(pendingPath);
    return FALSE; // let the default handler end the process
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return ".";
    return slash == 0 || (slash == 2 && path[1] == ':') ? path.substr(0, slash + 1) : path.substr(0, slash);
}

} // namespace

ReplacingFile::~ReplacingFile()
{
    Discard();
}

std::string ReplacingFile::Failure(const std::string& reason) const
{
    return "cannot write '" + target + "': " + reason;
}

bool ReplacingFile::Open(const std::string& path, std::string& error)
{
    Discard();
    target = path;
    destination = SystemFilePath(path);
    if (path.empty())
    {
        error = "no output file named";
        return false;
    }
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(destination).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        error = Failure("it is a folder");
        return false;
    }
    const std::string folder = FolderOf(destination);
    const DWORD folderAttributes = GetFileAttributesW(WideFromUtf8(folder).c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        error = Failure("the folder '" + FolderOf(path) + "' does not exist");
        return false;
    }
    static bool handlerInstalled = false;
    if (!handlerInstalled)
        handlerInstalled = SetConsoleCtrlHandler(&RemovePendingFile, TRUE) != 0;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt)
    {
        const std::string candidate = destination + "." + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(attempt) + ".tmp";
        const std::wstring wide = WideFromUtf8(candidate);
        descriptor = _wopen(wide.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (descriptor >= 0)
        {
            temporary = candidate;
            if (wide.size() < sizeof pendingPath / sizeof pendingPath[0])
            {
                std::memcpy(pendingPath, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
                pendingSet = true;
            }
        }
        else if (errno != EEXIST)
            break;
    }
    if (descriptor < 0)
    {
        error = Failure(std::strerror(errno));
        return false;
    }
    return true;
}

bool ReplacingFile::Write(const void* data, std::size_t size, std::string& error)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        const unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
        const int n = _write(descriptor, bytes, chunk);
        if (n <= 0)
        {
            error = Failure(n < 0 ? std::strerror(errno) : "the disk accepts no more data");
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReplacingFile::Commit(std::string& error)
{
    if (descriptor < 0)
    {
        error = Failure("the file is not open");
        return false;
    }
    const bool synced = _commit(descriptor) == 0;
    const bool closed = _close(descriptor) == 0;
    descriptor = -1;
    if (!synced || !closed)
    {
        error = Failure(std::strerror(errno));
        Discard();
        return false;
    }
    if (!MoveFileExW(WideFromUtf8(temporary).c_str(), WideFromUtf8(destination).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        error = Failure(WindowsErrorText(GetLastError()));
        Discard();
        return false;
    }
    pendingSet = false;
    temporary.clear();
    return true;
}

void ReplacingFile::Discard()
{
    if (descriptor >= 0)
        _close(descriptor);
    descriptor = -1;
    pendingSet = false;
    if (!temporary.empty())
        DeleteFileW(WideFromUtf8(temporary).c_str());
    temporary.clear();
}
} // namespace tpm
