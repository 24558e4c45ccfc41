#include "tools/hostkit/ReplacingFile.h"

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tpm
{
namespace
{
// The temporary file a fatal signal must not leave behind. A signal handler may only read plain
// memory, so the path lives in a fixed buffer; the tool writes one file at a time.
std::array<char, PATH_MAX> pendingPath{};
volatile std::sig_atomic_t pendingSet = 0;

void RemovePendingFile(int signal)
{
    if (pendingSet)
        unlink(pendingPath.data());
    // The default action again, so the parent sees how we ended.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallSignalCleanup()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // A file-size limit makes write() fail with EFBIG instead of killing the process mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
    {
        struct sigaction previous
        {
        };
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) // nohup and friends asked us to ignore it
            continue;
        struct sigaction action
        {
        };
        action.sa_handler = &RemovePendingFile;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

void SetPending(const std::string& path)
{
    pendingSet = 0;
    if (path.empty() || path.size() >= pendingPath.size())
        return;
    std::memcpy(pendingPath.data(), path.c_str(), path.size() + 1);
    pendingSet = 1;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t CreationMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
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
    destination = path;
    mode_t mode = CreationMode();
    struct stat info
    {
    };
    if (path.empty())
    {
        error = "no output file named";
        return false;
    }
    if (stat(path.c_str(), &info) == 0)
    {
        if (S_ISDIR(info.st_mode))
        {
            error = Failure("it is a folder");
            return false;
        }
        // Renaming over a device or a pipe would replace it with a plain file.
        if (!S_ISREG(info.st_mode))
        {
            error = Failure("it is not a regular file");
            return false;
        }
        mode = info.st_mode & 07777;
        // Replace what a symbolic link points at, not the link itself.
        if (char* resolved = realpath(path.c_str(), nullptr))
        {
            destination = resolved;
            std::free(resolved);
        }
    }
    const std::string folder = FolderOf(destination);
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    {
        error = Failure("the folder '" + folder + "' does not exist");
        return false;
    }
    InstallSignalCleanup();
    const std::size_t slash = destination.rfind('/');
    const std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    std::string pattern = folder + "/." + name + ".XXXXXX";
    // Blocking signals between creating the file and recording its name leaves no gap for a leak.
    sigset_t all, previous;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous);
    descriptor = mkstemp(pattern.data());
    const int reason = errno;
    if (descriptor >= 0)
    {
        temporary = pattern;
        SetPending(temporary);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (descriptor < 0)
    {
        error = Failure(std::strerror(reason));
        return false;
    }
    fchmod(descriptor, mode);
    return true;
}

bool ReplacingFile::Write(const void* data, std::size_t size, std::string& error)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        const ssize_t n = write(descriptor, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
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
    const bool synced = fsync(descriptor) == 0;
    int reason = errno;
    const bool closed = close(descriptor) == 0;
    descriptor = -1;
    if (synced && !closed)
        reason = errno;
    if (!synced || !closed || rename(temporary.c_str(), destination.c_str()) != 0)
    {
        error = Failure(std::strerror(synced && closed ? errno : reason));
        Discard();
        return false;
    }
    pendingSet = 0;
    temporary.clear();
    // The new name is durable only once the folder is; failing that is no reason to fail the file.
    const int folder = open(FolderOf(destination).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0)
    {
        fsync(folder);
        close(folder);
    }
    return true;
}

void ReplacingFile::Discard()
{
    if (descriptor >= 0)
        close(descriptor);
    descriptor = -1;
    if (!temporary.empty())
        unlink(temporary.c_str());
    pendingSet = 0;
    temporary.clear();
}
} // namespace tpm
