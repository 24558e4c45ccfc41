#include "formats/vst3/Vst3View.h"

#include "editor/EditorSize.h"
#include "editor/IWindowLayer.h"

#include <cstring>
#include <utility>

#if defined(_WIN32)
#include <windows.h>

#include <vector>
#endif

namespace tpm
{
namespace
{
const char* PlatformType()
{
#if defined(_WIN32)
    return vst3::kPlatformTypeHWND;
#else
    return vst3::kPlatformTypeX11EmbedWindowID;
#endif
}

#if defined(_WIN32)
// The views with a thread timer, by timer id: all on the main thread.
std::vector<std::pair<UINT_PTR, Vst3View*>>& TimedViews()
{
    static std::vector<std::pair<UINT_PTR, Vst3View*>> views;
    return views;
}

void CALLBACK OnThreadTimer(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)message;
    (void)time;
    for (const auto& [timer, view] : TimedViews())
        if (timer == id)
        {
            view->Tick();
            return;
        }
}
#endif
} // namespace

Vst3View::Vst3View(vst3::FUnknown& object, Vst3Model& shared, std::unique_ptr<IEditorLink> link)
    : edited(object), model(shared), editor(std::move(link))
{
    edited.addRef();
    const PluginInstance* instance = model.Instance();
    const double remembered = instance ? instance->EditorScale() : 0.0;
    editor->SetScale(remembered > 0.0 ? remembered : tpm::SystemEditorScale());
    editor->SetResizeRequest(this);
}

Vst3View::~Vst3View()
{
    if (open)
        removed();
    setFrame(nullptr);
    // The editor reaches into the plug-in: it goes first.
    editor.reset();
    model.SetEditorOpen(false);
    edited.release();
}

vst3::tresult Vst3View::isPlatformTypeSupported(vst3::FIDString type)
{
    return type && std::strcmp(type, PlatformType()) == 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult Vst3View::attached(void* parent, vst3::FIDString type)
{
    if (open || !parent || isPlatformTypeSupported(type) != vst3::kResultTrue ||
        !editor->OpenWindow(parent, false))
        return vst3::kResultFalse;
    open = true;
    StartTicks();
    return vst3::kResultOk;
}

vst3::tresult Vst3View::removed()
{
    if (!open)
        return vst3::kResultFalse;
    StopTicks();
    editor->CloseWindow();
    open = false;
    return vst3::kResultOk;
}

vst3::tresult Vst3View::onWheel(float distance)
{
    return open && editor->WheelAtCursor(distance) != 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult Vst3View::onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers)
{
    (void)key;
    (void)keyCode;
    (void)modifiers;
    return vst3::kResultFalse; // the editor's entry fields take keys from their own window
}

vst3::tresult Vst3View::onKeyUp(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers)
{
    return onKeyDown(key, keyCode, modifiers);
}

vst3::ViewRect Vst3View::Rect() const
{
    return {0, 0, editor->Width(), editor->Height()};
}

vst3::tresult Vst3View::getSize(vst3::ViewRect* size)
{
    if (!size)
        return vst3::kInvalidArgument;
    *size = Rect();
    return vst3::kResultOk;
}

vst3::tresult Vst3View::onSize(vst3::ViewRect* newSize)
{
    if (!newSize)
        return vst3::kInvalidArgument;
    const int width = newSize->right - newSize->left;
    const int height = newSize->bottom - newSize->top;
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    // Only the sizes checkSizeConstraint gives.
    if (fit.width != width || fit.height != height)
        return vst3::kResultFalse;
    if (width != editor->Width() || height != editor->Height())
        TakeUserScale(fit.scale);
    return vst3::kResultTrue;
}

vst3::tresult Vst3View::onFocus(vst3::TBool state)
{
    (void)state;
    return vst3::kResultOk;
}

vst3::tresult Vst3View::setFrame(vst3::IPlugFrame* newFrame)
{
    if (newFrame == frame)
        return vst3::kResultOk;
    // The run loop comes from the frame: ticks move with it.
    if (open)
        StopTicks();
    if (newFrame)
        newFrame->addRef();
    vst3::IPlugFrame* old = frame;
    frame = newFrame;
    if (old)
        old->release();
    if (open)
        StartTicks();
    return vst3::kResultOk;
}

vst3::tresult Vst3View::canResize()
{
    return vst3::kResultTrue;
}

vst3::tresult Vst3View::checkSizeConstraint(vst3::ViewRect* rect)
{
    if (!rect)
        return vst3::kInvalidArgument;
    const tpm::EditorSize fit = tpm::FitEditorSize(rect->right - rect->left, rect->bottom - rect->top);
    rect->right = rect->left + fit.width;
    rect->bottom = rect->top + fit.height;
    return vst3::kResultTrue;
}

vst3::tresult Vst3View::setContentScaleFactor(ScaleFactor factor)
{
    const PluginInstance* instance = model.Instance();
    if (!(factor > 0.0f) || (instance && instance->EditorScale() > 0.0))
        return vst3::kResultFalse;
    const int oldWidth = editor->Width();
    const int oldHeight = editor->Height();
    editor->SetScale(factor);
    // An open view asks its frame for the new size, as after any change of its own.
    vst3::ViewRect rect = Rect();
    if (open && frame && (rect.right != oldWidth || rect.bottom != oldHeight))
        frame->resizeView(this, &rect);
    return vst3::kResultOk;
}

bool Vst3View::RequestSize(int width, int height)
{
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    vst3::ViewRect rect{0, 0, fit.width, fit.height};
    if (!frame || frame->resizeView(this, &rect) != vst3::kResultOk)
        return false;
    TakeUserScale(fit.scale);
    return true;
}

void Vst3View::TakeUserScale(double scale)
{
    editor->SetScale(scale);
    if (PluginInstance* instance = model.Instance())
        instance->SetEditorScale(editor->Scale());
}

void Vst3View::EventsReady()
{
    if (open)
        editor->Idle();
}

void Vst3View::Tick()
{
    if (!open)
        return;
    // Keeps the view alive should the host release it from inside a host call below.
    vst3::IPlugView& self = *this;
    self.addRef();
    editor->Idle();
    model.MainThreadTick();
    self.release();
}

void Vst3View::StartTicks()
{
#if defined(_WIN32)
    threadTimer = SetTimer(nullptr, 0, static_cast<UINT>(kTickMs), &OnThreadTimer);
    if (threadTimer != 0)
        TimedViews().emplace_back(threadTimer, this);
#else
    void* found = nullptr;
    if (!frame || frame->queryInterface(vst3::IRunLoop::iid.bytes, &found) != vst3::kResultOk || !found)
        return;
    runLoop = static_cast<vst3::IRunLoop*>(found);
    runLoopLink = Vst3RunLoopLinkObject::Create(*this);
    if (!runLoopLink)
        return;
    timerRegistered = runLoop->registerTimer(runLoopLink, kTickMs) == vst3::kResultOk;
    // The window's events as they come; the timer still ticks the frames.
    const int descriptor = editor->EventDescriptor();
    eventsRegistered =
        descriptor >= 0 && runLoop->registerEventHandler(runLoopLink, descriptor) == vst3::kResultOk;
#endif
}

void Vst3View::StopTicks()
{
#if defined(_WIN32)
    if (threadTimer != 0)
    {
        KillTimer(nullptr, threadTimer);
        std::erase_if(TimedViews(), [this](const auto& entry) { return entry.second == this; });
        threadTimer = 0;
    }
#else
    if (!runLoop)
        return;
    if (runLoopLink)
    {
        // Cut off first: a run loop may still call what it is about to let go.
        runLoopLink->Detach();
        if (timerRegistered)
            runLoop->unregisterTimer(runLoopLink);
        if (eventsRegistered)
            runLoop->unregisterEventHandler(runLoopLink);
        runLoopLink->release();
        runLoopLink = nullptr;
    }
    timerRegistered = eventsRegistered = false;
    vst3::IRunLoop* old = runLoop;
    runLoop = nullptr;
    old->release();
#endif
}
} // namespace tpm
