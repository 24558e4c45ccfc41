// The host's run loop as a VST3 editor on Linux sees it (IRunLoop): the timers and file descriptors
// the plug-in registers are served on the main thread by Service(), which the window loop calls.
// It belongs to an owner object whose reference count it shares. Handlers are not held: plug-ins
// register their views themselves and unregister as the view goes, which a reference here would stop.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <chrono>
#include <thread>
#include <vector>

namespace tpm
{
class Vst3RunLoop final : public vst3::IRunLoop
{
  public:
    // The thread that makes the run loop is the one that may use it.
    explicit Vst3RunLoop(vst3::FUnknown& owner);
    ~Vst3RunLoop();
    Vst3RunLoop(const Vst3RunLoop&) = delete;
    Vst3RunLoop& operator=(const Vst3RunLoop&) = delete;

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override { return owner.addRef(); }
    vst3::uint32 release() override { return owner.release(); }

    vst3::tresult registerEventHandler(vst3::IEventHandler* handler, vst3::FileDescriptor fd) override;
    vst3::tresult unregisterEventHandler(vst3::IEventHandler* handler) override;
    vst3::tresult registerTimer(vst3::ITimerHandler* handler, vst3::TimerInterval milliseconds) override;
    vst3::tresult unregisterTimer(vst3::ITimerHandler* handler) override;

    // Main thread: calls the timers that are due and the handlers whose descriptor is ready.
    void Service();
    // Forgets every handler still registered (the plug-in is gone).
    void Clear();
    int TimerCount() const { return static_cast<int>(timers.size()); }
    int HandlerCount() const { return static_cast<int>(watches.size()); }
    // Timer calls made so far, for a caller that waits for the next.
    long TimersFired() const { return timersFired; }

  private:
    struct Timer
    {
        vst3::ITimerHandler* handler;
        std::chrono::milliseconds period;
        std::chrono::steady_clock::time_point due;
    };
    struct Watch
    {
        vst3::IEventHandler* handler;
        vst3::FileDescriptor fd;
    };
    bool OnOwnThread() const { return std::this_thread::get_id() == thread; }
    bool TimerRegistered(const vst3::ITimerHandler* handler) const;
    bool WatchRegistered(const vst3::IEventHandler* handler, vst3::FileDescriptor fd) const;
    void ServiceDescriptors();

    vst3::FUnknown& owner;
    std::thread::id thread;
    std::vector<Timer> timers;
    std::vector<Watch> watches;
    long timersFired = 0;
};
} // namespace tpm
