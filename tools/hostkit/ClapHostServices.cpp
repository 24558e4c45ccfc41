#include "tools/hostkit/ClapHostServices.h"

#include <cstdio>
#include <cstring>

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace tpm
{
namespace
{
void Ignore(const clap_host_t*) {}
void IgnoreFlags(const clap_host_t*, uint32_t) {}
void IgnoreClear(const clap_host_t*, clap_id, uint32_t) {}
bool Refuse(const clap_host_t*)
{
    return false;
}
bool RefuseRescanFlag(const clap_host_t*, uint32_t)
{
    return false;
}
void GuiClosed(const clap_host_t*, bool) {}
void PresetLoaded(const clap_host_t*, uint32_t, const char*, const char*) {}

const char* SeverityName(clap_log_severity severity)
{
    switch (severity)
    {
    case kClapLogWarning:
        return "warning";
    case kClapLogError:
        return "error";
    case kClapLogFatal:
        return "fatal";
    case kClapLogHostMisbehaving:
        return "host misbehaving";
    case kClapLogPluginMisbehaving:
        return "plug-in misbehaving";
    default:
        return nullptr;
    }
}
} // namespace

ClapHostServices::ClapHostServices(const HostSettings& settings)
    : name(settings.productName), vendor(settings.vendorName),
      version(std::to_string(settings.vendorVersion)), mainThread(std::this_thread::get_id())
{
    host.clap_version = kClapVersion;
    host.host_data = this;
    host.name = name.c_str();
    host.vendor = vendor.c_str();
    host.url = "";
    host.version = version.c_str();
    host.get_extension = &ClapHostServices::GetExtension;
    host.request_restart = &ClapHostServices::RequestRestart;
    host.request_process = &ClapHostServices::RequestProcess;
    host.request_callback = &ClapHostServices::RequestCallback;
}

void ClapHostServices::Attach(const clap_plugin_t* instance)
{
    plugin = instance;
}

bool ClapHostServices::RequestResize(const clap_host_t* host, uint32_t width, uint32_t height)
{
    // Main thread only: the window loop takes it from there.
    ClapHostServices& self = Of(host);
    if (width == 0 || height == 0 || width > 8192 || height > 8192 || !IsMainThread(host))
        return false;
    self.resize.Set(static_cast<int>(width), static_cast<int>(height));
    return true;
}

bool ClapHostServices::TakeResizeRequest(int& width, int& height)
{
    return resize.Take(width, height);
}

ClapHostServices& ClapHostServices::Of(const clap_host_t* host)
{
    return *static_cast<ClapHostServices*>(host->host_data);
}

const void* ClapHostServices::GetExtension(const clap_host_t*, const char* id)
{
    static const clap_host_params_t params{&IgnoreFlags, &IgnoreClear, &ClapHostServices::RequestFlush};
    static const clap_host_thread_check_t threadCheck{&ClapHostServices::IsMainThread,
                                                      &ClapHostServices::IsAudioThread};
    static const clap_host_timer_support_t timerSupport{&ClapHostServices::RegisterTimer,
                                                        &ClapHostServices::UnregisterTimer};
    static const clap_host_gui_t gui{&Ignore, &ClapHostServices::RequestResize, &Refuse, &Refuse, &GuiClosed};
    static const clap_host_log_t log{&ClapHostServices::Log};
    static const clap_host_state_t state{&ClapHostServices::MarkDirty};
    static const clap_host_latency_t latency{&Ignore};
    static const clap_host_audio_ports_t audioPorts{&RefuseRescanFlag, &IgnoreFlags};
    static const clap_host_preset_load_t presetLoad{&ClapHostServices::PresetLoadError, &PresetLoaded};
    if (!id)
        return nullptr;
    const std::string wanted = id;
    if (wanted == kClapExtParams)
        return &params;
    if (wanted == kClapExtThreadCheck)
        return &threadCheck;
    if (wanted == kClapExtTimerSupport)
        return &timerSupport;
#if !defined(_WIN32)
    static const clap_host_posix_fd_support_t fdSupport{
        &ClapHostServices::RegisterFd, &ClapHostServices::ModifyFd, &ClapHostServices::UnregisterFd};
    if (wanted == kClapExtPosixFdSupport)
        return &fdSupport;
#endif
    if (wanted == kClapExtGui)
        return &gui;
    if (wanted == kClapExtLog)
        return &log;
    if (wanted == kClapExtState)
        return &state;
    if (wanted == kClapExtLatency)
        return &latency;
    if (wanted == kClapExtAudioPorts)
        return &audioPorts;
    if (wanted == kClapExtPresetLoad || wanted == kClapExtPresetLoadCompat)
        return &presetLoad;
    return nullptr;
}

// The host tool never restarts a plug-in on request; processing is driven by the command.
void ClapHostServices::RequestRestart(const clap_host_t*) {}
void ClapHostServices::RequestProcess(const clap_host_t*) {}

void ClapHostServices::RequestCallback(const clap_host_t* host)
{
    Of(host).callbackRequested.store(true);
}

void ClapHostServices::RequestFlush(const clap_host_t* host)
{
    Of(host).flushRequested.store(true);
}

bool ClapHostServices::IsMainThread(const clap_host_t* host)
{
    return Of(host).OnMainThread();
}

bool ClapHostServices::IsAudioThread(const clap_host_t* host)
{
    return Of(host).audioThread.load(std::memory_order_acquire) == std::this_thread::get_id();
}

bool ClapHostServices::RegisterTimer(const clap_host_t* host, uint32_t periodMs, clap_id* id)
{
    ClapHostServices& self = Of(host);
    if (!id || !self.OnMainThread())
        return false;
    Timer timer;
    timer.id = self.nextTimerId++;
    timer.period = std::chrono::milliseconds(periodMs > 0 ? periodMs : 1);
    timer.due = std::chrono::steady_clock::now() + timer.period;
    self.timers.push_back(timer);
    *id = timer.id;
    return true;
}

bool ClapHostServices::UnregisterTimer(const clap_host_t* host, clap_id id)
{
    ClapHostServices& self = Of(host);
    if (!self.OnMainThread())
        return false;
    for (auto it = self.timers.begin(); it != self.timers.end(); ++it)
        if (it->id == id)
        {
            self.timers.erase(it);
            return true;
        }
    return false;
}

bool ClapHostServices::RegisterFd(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags)
{
    ClapHostServices& self = Of(host);
    if (fd < 0 || !self.OnMainThread())
        return false;
    for (const Descriptor& d : self.descriptors)
        if (d.fd == fd)
            return false;
    self.descriptors.push_back(Descriptor{fd, flags});
    return true;
}

bool ClapHostServices::ModifyFd(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags)
{
    ClapHostServices& self = Of(host);
    if (!self.OnMainThread())
        return false;
    for (Descriptor& d : self.descriptors)
        if (d.fd == fd)
        {
            d.flags = flags;
            return true;
        }
    return false;
}

bool ClapHostServices::UnregisterFd(const clap_host_t* host, int fd)
{
    ClapHostServices& self = Of(host);
    if (!self.OnMainThread())
        return false;
    for (auto it = self.descriptors.begin(); it != self.descriptors.end(); ++it)
        if (it->fd == fd)
        {
            self.descriptors.erase(it);
            return true;
        }
    return false;
}

void ClapHostServices::Log(const clap_host_t*, clap_log_severity severity, const char* message)
{
    // Debug and information lines stay quiet; what went wrong is shown, but never from the audio thread.
    const char* severityName = SeverityName(severity);
    if (severityName && message && !HostedInstance::OnRealTimeThread())
        std::fprintf(stderr, "vsthost: plug-in %s: %s\n", severityName, message);
}

void ClapHostServices::MarkDirty(const clap_host_t* host)
{
    Of(host).dirty.store(true);
}

void ClapHostServices::PresetLoadError(const clap_host_t* host, uint32_t, const char*, const char*, int32_t,
                                       const char* message)
{
    ClapHostServices& self = Of(host);
    if (self.OnMainThread())
        self.presetError = message && *message ? message : "the preset did not load";
}

void ClapHostServices::Service()
{
    if (!plugin || !OnMainThread())
        return;
    const auto* timerSupport =
        static_cast<const clap_plugin_timer_support_t*>(plugin->get_extension(plugin, kClapExtTimerSupport));
    const auto now = std::chrono::steady_clock::now();
    // By id, not by position: a callback may register or unregister timers.
    std::vector<clap_id> due;
    for (Timer& timer : timers)
        if (now >= timer.due)
        {
            due.push_back(timer.id);
            timer.due = now + timer.period;
        }
    for (clap_id id : due)
        if (timerSupport && timerSupport->on_timer)
            timerSupport->on_timer(plugin, id);
    ServiceDescriptors();
}

void ClapHostServices::ServiceDescriptors()
{
#if !defined(_WIN32)
    if (descriptors.empty())
        return;
    const auto* fdSupport = static_cast<const clap_plugin_posix_fd_support_t*>(
        plugin->get_extension(plugin, kClapExtPosixFdSupport));
    if (!fdSupport || !fdSupport->on_fd)
        return;
    std::vector<pollfd> polled;
    for (const Descriptor& d : descriptors)
    {
        short events = 0;
        events |= (d.flags & kClapPosixFdRead) != 0 ? POLLIN : 0;
        events |= (d.flags & kClapPosixFdWrite) != 0 ? POLLOUT : 0;
        polled.push_back(pollfd{d.fd, events, 0});
    }
    if (poll(polled.data(), polled.size(), 0) <= 0)
        return;
    for (const pollfd& p : polled)
    {
        clap_posix_fd_flags_t flags = 0;
        flags |= (p.revents & POLLIN) != 0 ? kClapPosixFdRead : 0;
        flags |= (p.revents & POLLOUT) != 0 ? kClapPosixFdWrite : 0;
        flags |= (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 ? kClapPosixFdError : 0;
        if (flags != 0)
            fdSupport->on_fd(plugin, p.fd, flags);
    }
#endif
}
} // namespace tpm
