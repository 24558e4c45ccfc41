#pragma once

#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tpm
{

// Hands a web address to the desktop's opener (xdg-open), started directly without a shell and never
// waited for: finished openers are collected later, without blocking, so none is left a zombie.
class WebPageLauncher
{
  public:
    static WebPageLauncher& Instance();

    // False when the address is not an http(s) address or the opener cannot be started.
    bool Open(const std::string& address);
    // Collects openers that have finished; never blocks.
    void Reap();

  private:
    std::mutex lock_;
    std::vector<pid_t> running_;
};

} // namespace tpm
