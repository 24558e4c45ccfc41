#include "tools/hostkit/Vst3RunLoop.h"

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace tpm
{
Vst3RunLoop::Vst3RunLoop(vst3::FUnknown& owner) : owner(owner), thread(std::this_thread::get_id()) {}

Vst3RunLoop::~Vst3RunLoop()
{
    Clear();
}

void Vst3RunLoop::Clear()
{
    timers.clear();
    watches.clear();
}

vst3::tresult Vst3RunLoop::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    if (vst3::SameUid(iid, vst3::IRunLoop::iid))
    {
        addRef();
        *obj = static_cast<vst3::IRunLoop*>(this);
        return vst3::kResultOk;
    }
    return owner.queryInterface(iid, obj);
}

vst3::tresult Vst3RunLoop::registerEventHandler(vst3::IEventHandler* handler, vst3::FileDescriptor fd)
{
    if (!handler || fd < 0)
        return vst3::kInvalidArgument;
    if (!OnOwnThread() || WatchRegistered(handler, fd))
        return vst3::kResultFalse;
    watches.push_back(Watch{handler, fd});
    return vst3::kResultOk;
}

vst3::tresult Vst3RunLoop::unregisterEventHandler(vst3::IEventHandler* handler)
{
    if (!handler)
        return vst3::kInvalidArgument;
    if (!OnOwnThread())
        return vst3::kResultFalse;
    // Every descriptor the handler watches.
    const std::size_t before = watches.size();
    std::erase_if(watches, [handler](const Watch& watch) { return watch.handler == handler; });
    return watches.size() < before ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult Vst3RunLoop::registerTimer(vst3::ITimerHandler* handler, vst3::TimerInterval milliseconds)
{
    if (!handler)
        return vst3::kInvalidArgument;
    if (!OnOwnThread() || TimerRegistered(handler))
        return vst3::kResultFalse;
    const std::chrono::milliseconds period(milliseconds > 0 ? static_cast<long long>(milliseconds) : 1);
    timers.push_back(Timer{handler, period, std::chrono::steady_clock::now() + period});
    return vst3::kResultOk;
}

vst3::tresult Vst3RunLoop::unregisterTimer(vst3::ITimerHandler* handler)
{
    if (!handler)
        return vst3::kInvalidArgument;
    if (!OnOwnThread())
        return vst3::kResultFalse;
    for (auto it = timers.begin(); it != timers.end(); ++it)
        if (it->handler == handler)
        {
            timers.erase(it);
            return vst3::kResultOk;
        }
    return vst3::kResultFalse;
}

bool Vst3RunLoop::TimerRegistered(const vst3::ITimerHandler* handler) const
{
    for (const Timer& timer : timers)
        if (timer.handler == handler)
            return true;
    return false;
}

bool Vst3RunLoop::WatchRegistered(const vst3::IEventHandler* handler, vst3::FileDescriptor fd) const
{
    for (const Watch& watch : watches)
        if (watch.handler == handler && watch.fd == fd)
            return true;
    return false;
}

void Vst3RunLoop::Service()
{
    if (!OnOwnThread())
        return;
    const auto now = std::chrono::steady_clock::now();
    // By handler, not by position: a callback may register or unregister timers. Each is held while
    // it runs, so that unregistering itself does not end it mid-call.
    std::vector<vst3::ITimerHandler*> due;
    for (Timer& timer : timers)
        if (now >= timer.due)
        {
            due.push_back(timer.handler);
            timer.due = now + timer.period;
        }
    for (vst3::ITimerHandler* handler : due)
        if (TimerRegistered(handler))
        {
            handler->addRef();
            ++timersFired;
            handler->onTimer();
            handler->release();
        }
    ServiceDescriptors();
}

void Vst3RunLoop::ServiceDescriptors()
{
#if !defined(_WIN32)
    if (watches.empty())
        return;
    std::vector<pollfd> polled;
    polled.reserve(watches.size());
    for (const Watch& watch : watches)
        polled.push_back(pollfd{watch.fd, POLLIN, 0});
    if (poll(polled.data(), polled.size(), 0) <= 0)
        return;
    const std::vector<Watch> ready = watches;
    for (std::size_t i = 0; i < polled.size() && i < ready.size(); ++i)
        if (polled[i].revents != 0 && WatchRegistered(ready[i].handler, ready[i].fd))
        {
            ready[i].handler->addRef();
            ready[i].handler->onFDIsSet(ready[i].fd);
            ready[i].handler->release();
        }
#endif
}
} // namespace tpm
