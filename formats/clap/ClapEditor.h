// The CLAP plug-in's editor window: the plug-in's editor, made and destroyed by the host's gui calls and
// owned here, embedded in the host's window, and ticked by the host's timer (X11 plug-ins get no thread
// or timer of their own). Its size is in physical pixels (x11 and win32 windows): the scale is the one
// the instance's state remembers, else the host's, else the system's; the user resizes it through the
// host's window or the editor's own grip.
#pragma once

#include "formats/clap/ClapAbi.h"
#include "plugin/PluginInstance.h"

#include <memory>

namespace tpm
{
class PluginInstance;

class ClapEditor final : private IEditorLink::IResizeRequest
{
  public:
    // The window API this build's editor lives in.
    static const char* Api();

    ClapEditor() = default;
    ClapEditor(const ClapEditor&) = delete;
    ClapEditor& operator=(const ClapEditor&) = delete;
    ~ClapEditor() { Destroy(); }

    void Attach(PluginInstance* instance, const clap_host_t* host);
    bool Create(const char* api, bool floating);
    void Destroy();
    bool Created() const { return editor != nullptr; }
    bool SetParent(const clap_window_t& window);
    void Tick();
    // The host's scale; false when the size the user chose, kept in the state, stays instead.
    bool SetScale(double scale);
    bool GetSize(uint32_t& width, uint32_t& height) const;
    // The host's window took a size the user dragged to; false (nothing changed) for a size that is
    // not one adjust_size gives.
    bool SetSize(uint32_t width, uint32_t height);

  private:
    void CloseWindow();
    // The editor's grip: the host resizes its window first.
    bool RequestSize(int width, int height) override;
    void TakeUserScale(double scale);

    PluginInstance* instance = nullptr;
    const clap_host_t* host = nullptr;
    const clap_host_timer_support_t* timers = nullptr;
    const clap_host_posix_fd_support_t* descriptors = nullptr;
    const clap_host_gui_t* hostGui = nullptr;
    std::unique_ptr<IEditorLink> editor;
    bool windowOpen = false;
    bool timerRegistered = false;
    clap_id timerId = kClapInvalidId;
    int watchedDescriptor = -1;
};
} // namespace tpm
