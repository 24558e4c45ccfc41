// The CLAP plug-in's editor window: the plug-in's editor, made and destroyed by the host's gui calls and
// owned here, embedded in the host's window, and ticked by the host's timer (X11 plug-ins get no thread
// or timer of their own).
#pragma once

#include "formats/clap/ClapAbi.h"
#include "plugin/PluginInstance.h"

#include <memory>

class PluginInstance;

class ClapEditor
{
  public:
    static constexpr uint32_t kWidth = 550;
    static constexpr uint32_t kHeight = 363;
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

  private:
    void CloseWindow();

    PluginInstance* instance = nullptr;
    const clap_host_t* host = nullptr;
    const clap_host_timer_support_t* timers = nullptr;
    const clap_host_posix_fd_support_t* descriptors = nullptr;
    std::unique_ptr<IEditorLink> editor;
    bool windowOpen = false;
    bool timerRegistered = false;
    clap_id timerId = kClapInvalidId;
    int watchedDescriptor = -1;
};
