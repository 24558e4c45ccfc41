#include "formats/vst3/Vst3RunLoopLink.h"

#include "formats/vst3/Vst3View.h"

vst3::tresult Vst3RunLoopLink::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    *obj = nullptr;
    if (vst3::SameUid(iid, vst3::FUnknown::iid) || vst3::SameUid(iid, vst3::ITimerHandler::iid))
        *obj = static_cast<vst3::ITimerHandler*>(this);
    else if (vst3::SameUid(iid, vst3::IEventHandler::iid))
        *obj = static_cast<vst3::IEventHandler*>(this);
    else
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 Vst3RunLoopLink::addRef()
{
    return refs.fetch_add(1, std::memory_order_relaxed) + 1;
}

vst3::uint32 Vst3RunLoopLink::release()
{
    const vst3::uint32 left = refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

void Vst3RunLoopLink::onTimer()
{
    if (view)
        view->Tick();
}

void Vst3RunLoopLink::onFDIsSet(vst3::FileDescriptor fd)
{
    (void)fd;
    if (view)
        view->EventsReady();
}
