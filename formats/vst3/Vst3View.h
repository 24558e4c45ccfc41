// The plug-in's editor as a VST3 view: the product's editor window embedded in the host's window
// (an X11 window id on Linux, an HWND on Windows), at the size the state remembers, else at the
// host's content scale, else the system's; the user resizes it through the host's frame or the
// editor's own grip (which asks the frame), the aspect ratio kept. On Linux the host's
// run loop (IRunLoop, from the view's frame) drives the editor's frame tick and its X events through
// a Vst3RunLoopLink; on Windows a thread timer does the main-thread work the editor's own timer does
// not. The view holds a reference on the plug-in object it edits, so it may outlive everything else
// the host released; it works on that object's Vst3Model alone.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3Model.h"
#include "formats/vst3/Vst3Object.h"
#include "formats/vst3/Vst3RunLoopLink.h"
#include "plugin/PluginInstance.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace tpm
{
class Vst3View : public vst3::IPlugView,
                 public vst3::IPlugViewContentScaleSupport,
                 private IEditorLink::IResizeRequest
{
  public:
    // Often enough for the editor's 24 frames a second and for its input to feel immediate.
    static constexpr vst3::TimerInterval kTickMs = 15;

    Vst3View(const Vst3View&) = delete;
    Vst3View& operator=(const Vst3View&) = delete;

    // IPlugView
    vst3::tresult isPlatformTypeSupported(vst3::FIDString type) override;
    vst3::tresult attached(void* parent, vst3::FIDString type) override;
    vst3::tresult removed() override;
    vst3::tresult onWheel(float distance) override;
    vst3::tresult onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
    vst3::tresult onKeyUp(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
    vst3::tresult getSize(vst3::ViewRect* size) override;
    vst3::tresult onSize(vst3::ViewRect* newSize) override;
    vst3::tresult onFocus(vst3::TBool state) override;
    vst3::tresult setFrame(vst3::IPlugFrame* frame) override;
    vst3::tresult canResize() override;
    vst3::tresult checkSizeConstraint(vst3::ViewRect* rect) override;

    // IPlugViewContentScaleSupport: ignored once the user chose a size the state keeps.
    vst3::tresult setContentScaleFactor(ScaleFactor factor) override;

    // The main thread's regular turn while the window is open.
    void Tick();
    // The window's descriptor is readable.
    void EventsReady();

  protected:
    // Holds a reference on edited from now on.
    Vst3View(vst3::FUnknown& edited, Vst3Model& model, std::unique_ptr<IEditorLink> editor);
    ~Vst3View();

  private:
    void StartTicks();
    void StopTicks();
    vst3::ViewRect Rect() const;
    bool RequestSize(int width, int height) override;
    // A size the user chose: the editor takes it and the state remembers it.
    void TakeUserScale(double scale);

    vst3::FUnknown& edited; // one reference held
    Vst3Model& model;       // edited's
    std::unique_ptr<IEditorLink> editor;
    vst3::IPlugFrame* frame = nullptr;            // one reference held
    vst3::IRunLoop* runLoop = nullptr;            // one reference held while ticks run
    Vst3RunLoopLinkObject* runLoopLink = nullptr; // one reference held while ticks run
    bool open = false;
    bool timerRegistered = false;
    bool eventsRegistered = false;
#if defined(_WIN32)
    uintptr_t threadTimer = 0;
#endif
};

using Vst3ViewObject = Vst3Object<Vst3View, vst3::IPlugView, vst3::IPlugViewContentScaleSupport>;
} // namespace tpm
