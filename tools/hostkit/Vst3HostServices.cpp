#include "tools/hostkit/Vst3HostServices.h"

#include "tools/hostkit/Vst3Text.h"

#include <cstdio>

namespace tpm
{
Vst3HostServices* Vst3HostServices::Create(const HostSettings& settings)
{
    return new Vst3HostServices(settings);
}

Vst3HostServices::Vst3HostServices(const HostSettings& settings)
    : name(settings.productName), logToStderr(settings.logToStderr), uiThread(std::this_thread::get_id()),
      runLoop(*static_cast<vst3::IHostApplication*>(this))
{
}

vst3::uint32 Vst3HostServices::release()
{
    const vst3::uint32 left = --references;
    if (left == 0)
        delete this;
    return left;
}

void Vst3HostServices::Detach()
{
    onPerformEdit = nullptr;
    indexOf = nullptr;
    runLoop.Clear();
}

vst3::tresult Vst3HostServices::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    void* found = nullptr;
    if (vst3::SameUid(iid, vst3::FUnknown::iid) || vst3::SameUid(iid, vst3::IHostApplication::iid))
        found = static_cast<vst3::IHostApplication*>(this);
    else if (vst3::SameUid(iid, vst3::IComponentHandler::iid))
        found = static_cast<vst3::IComponentHandler*>(this);
    else if (vst3::SameUid(iid, vst3::IPlugFrame::iid))
        found = static_cast<vst3::IPlugFrame*>(this);
#if !defined(_WIN32)
    // Editors find it through the frame, and some through the host context.
    else if (vst3::SameUid(iid, vst3::IRunLoop::iid))
        found = static_cast<vst3::IRunLoop*>(&runLoop);
#endif
    *obj = found;
    if (!found)
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::tresult Vst3HostServices::getName(vst3::String128 text)
{
    if (!text)
        return vst3::kInvalidArgument;
    Vst3FromUtf8(name, text);
    return vst3::kResultOk;
}

// Messages and attribute lists for a plug-in's own halves are not made by this host; a plug-in that
// needs them is told so, and connected halves may still talk through their own objects.
vst3::tresult Vst3HostServices::createInstance(vst3::TUID, vst3::TUID, void** obj)
{
    if (obj)
        *obj = nullptr;
    return vst3::kNoInterface;
}

vst3::tresult Vst3HostServices::Note(EditKind kind, vst3::ParamID id, vst3::ParamValue value)
{
    const bool onUi = OnUiThread();
    static constexpr const char* kCallNames[] = {"beginEdit", "performEdit", "endEdit"};
    const int index = indexOf ? indexOf(id) : static_cast<int>(id);
    // Never printed from the audio thread, where the print could miss the deadline.
    const bool quiet = HostedInstance::OnRealTimeThread();
    if (!onUi)
    {
        ++offUiThread;
        if (!quiet)
            std::fprintf(stderr,
                         "vsthost: plug-in error: %s for parameter %d outside the user-interface thread\n",
                         kCallNames[static_cast<int>(kind)], index);
    }
    if (logToStderr && !quiet)
    {
        if (kind == EditKind::kBegin)
            std::fprintf(stderr, "host: begin-edit parameter %d\n", index);
        else if (kind == EditKind::kEnd)
            std::fprintf(stderr, "host: end-edit parameter %d\n", index);
        else
            std::fprintf(stderr, "host: automate parameter %d = %.6f\n", index, value);
    }
    return vst3::kResultOk;
}

vst3::tresult Vst3HostServices::beginEdit(vst3::ParamID id)
{
    return Note(EditKind::kBegin, id, 0.0);
}

vst3::tresult Vst3HostServices::performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized)
{
    Note(EditKind::kPerform, id, valueNormalized);
    if (onPerformEdit)
        onPerformEdit(id, valueNormalized);
    return vst3::kResultOk;
}

vst3::tresult Vst3HostServices::endEdit(vst3::ParamID id)
{
    return Note(EditKind::kEnd, id, 0.0);
}

// Values and names are read from the controller whenever they are shown, so there is nothing to
// reload.
vst3::tresult Vst3HostServices::restartComponent(vst3::int32)
{
    return vst3::kResultOk;
}

// The window takes the size in the window loop; the view hears of it at once, as hosts tell it.
vst3::tresult Vst3HostServices::resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize)
{
    if (!view || !newSize)
        return vst3::kInvalidArgument;
    const int width = newSize->right - newSize->left;
    const int height = newSize->bottom - newSize->top;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192)
        return vst3::kResultFalse;
    const vst3::tresult result = view->onSize(newSize);
    if (result == vst3::kResultOk)
    {
        resize.Set(width, height);
    }
    return result;
}

bool Vst3HostServices::TakeResizeRequest(int& width, int& height)
{
    return resize.Take(width, height);
}
} // namespace tpm
