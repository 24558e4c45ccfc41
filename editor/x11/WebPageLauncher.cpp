#include "editor/x11/WebPageLauncher.h"

#include <algorithm>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tpm
{

WebPageLauncher& WebPageLauncher::Instance()
{
    static WebPageLauncher launcher;
    return launcher;
}

bool WebPageLauncher::Open(const std::string& address)
{
    // Only web addresses: anything else could reach the opener as an option or a local file.
    if (address.rfind("http://", 0) != 0 && address.rfind("https://", 0) != 0)
        return false;
    if (address.find_first_of("\r\n") != std::string::npos)
        return false;

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // The host may block or catch signals; the opener starts with the defaults.
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string program = "xdg-open";
    std::string argument = address;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const int failure = posix_spawnp(&pid, "xdg-open", nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    Reap();
    if (failure != 0)
        return false;
    std::lock_guard guard(lock_);
    running_.push_back(pid);
    return true;
}

void WebPageLauncher::Reap()
{
    std::lock_guard guard(lock_);
    std::erase_if(running_, [](pid_t pid) {
        const pid_t done = waitpid(pid, nullptr, WNOHANG);
        return done == pid || done < 0; // < 0: already collected by the host's own handler
    });
}

} // namespace tpm
