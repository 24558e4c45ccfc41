// The host a CLAP plug-in sees: the clap_host record and the host extensions it may ask for
// (params, thread-check, timer-support, posix-fd-support, gui, log, state, latency, audio-ports,
// preset-load). Requests the plug-in makes from any thread are kept as flags for the main thread;
// timers and file descriptors it registers are serviced by the window loop through Service().
#pragma once

#include "formats/clap/ClapAbi.h"
#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/PendingResize.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace tpm
{
class ClapHostServices
{
  public:
    // The thread that creates the services is the main thread.
    explicit ClapHostServices(const HostSettings& settings);
    ClapHostServices(const ClapHostServices&) = delete;
    ClapHostServices& operator=(const ClapHostServices&) = delete;

    const clap_host_t* Host() const { return &host; }
    // The instance whose timer and fd callbacks Service() calls, once it is initialised.
    void Attach(const clap_plugin_t* plugin);

    // The thread inside process (or start and stop) counts as the audio thread while it is there.
    void EnterAudioThread() { audioThread.store(std::this_thread::get_id(), std::memory_order_release); }
    void LeaveAudioThread() { audioThread.store(std::thread::id(), std::memory_order_release); }
    bool OnMainThread() const { return std::this_thread::get_id() == mainThread; }

    bool TakeFlushRequest() { return flushRequested.exchange(false); }
    bool TakeCallbackRequest() { return callbackRequested.exchange(false); }
    // The size the editor last asked the host's window for (gui.request_resize), once.
    bool TakeResizeRequest(int& width, int& height);
    // Main thread: calls the timers that are due and the descriptors that are ready.
    void Service();
    // What the last preset-load reported as an error, empty when it succeeded.
    const std::string& PresetError() const { return presetError; }
    void ClearPresetError() { presetError.clear(); }
    bool Dirty() const { return dirty.load(); }

  private:
    struct Timer
    {
        clap_id id = kClapInvalidId;
        std::chrono::milliseconds period{};
        std::chrono::steady_clock::time_point due;
    };
    struct Descriptor
    {
        int fd = -1;
        clap_posix_fd_flags_t flags = 0;
    };

    static ClapHostServices& Of(const clap_host_t* host);
    static const void* GetExtension(const clap_host_t* host, const char* id);
    static void RequestRestart(const clap_host_t* host);
    static void RequestProcess(const clap_host_t* host);
    static void RequestCallback(const clap_host_t* host);
    static void RequestFlush(const clap_host_t* host);
    static bool RequestResize(const clap_host_t* host, uint32_t width, uint32_t height);
    static bool IsMainThread(const clap_host_t* host);
    static bool IsAudioThread(const clap_host_t* host);
    static bool RegisterTimer(const clap_host_t* host, uint32_t periodMs, clap_id* id);
    static bool UnregisterTimer(const clap_host_t* host, clap_id id);
    static bool RegisterFd(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    static bool ModifyFd(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    static bool UnregisterFd(const clap_host_t* host, int fd);
    static void Log(const clap_host_t* host, clap_log_severity severity, const char* message);
    static void MarkDirty(const clap_host_t* host);
    static void PresetLoadError(const clap_host_t* host, uint32_t kind, const char* location, const char* key,
                                int32_t osError, const char* message);
    void ServiceDescriptors();

    clap_host_t host{};
    std::string name, vendor, version;
    std::thread::id mainThread;
    std::atomic<std::thread::id> audioThread{};
    std::atomic<bool> flushRequested{false};
    std::atomic<bool> callbackRequested{false};
    std::atomic<bool> dirty{false};
    const clap_plugin_t* plugin = nullptr;
    std::vector<Timer> timers;
    std::vector<Descriptor> descriptors;
    clap_id nextTimerId = 1;
    std::string presetError;
    PendingResize resize;
};
} // namespace tpm
