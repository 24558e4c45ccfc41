#include "formats/clap/ClapEditor.h"

#include "plugin/PluginInstance.h"

#include <cstring>

namespace
{
// Often enough for the editor's 24 frames a second and for its input to feel immediate.
constexpr uint32_t kTickMs = 15;
} // namespace

const char* ClapEditor::Api()
{
#if defined(_WIN32)
    return kClapWindowApiWin32;
#else
    return kClapWindowApiX11;
#endif
}

void ClapEditor::Attach(PluginInstance* newInstance, const clap_host_t* newHost)
{
    instance = newInstance;
    host = newHost;
    if (host && host->get_extension)
    {
        timers =
            static_cast<const clap_host_timer_support_t*>(host->get_extension(host, kClapExtTimerSupport));
        descriptors = static_cast<const clap_host_posix_fd_support_t*>(
            host->get_extension(host, kClapExtPosixFdSupport));
    }
}

bool ClapEditor::Create(const char* api, bool floating)
{
    // Only embedded, only in the platform's own window system, and once.
    if (!instance || editor || floating || !api || std::strcmp(api, Api()) != 0)
        return false;
    editor = instance->CreateEditor();
    return editor != nullptr;
}

void ClapEditor::Destroy()
{
    if (!editor)
        return;
    CloseWindow();
    editor.reset();
}

bool ClapEditor::SetParent(const clap_window_t& window)
{
    if (!editor || windowOpen || !window.api || std::strcmp(window.api, Api()) != 0)
        return false;
#if defined(_WIN32)
    void* parent = window.win32;
#else
    void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
#endif
    if (!parent || !editor->OpenWindow(parent, false))
        return false;
    windowOpen = true;
    if (timers && timers->register_timer && timers->register_timer(host, kTickMs, &timerId))
        timerRegistered = true;
    // The window's events as they come, where the host watches descriptors; the timer still ticks.
    const int descriptor = editor->EventDescriptor();
    if (descriptor >= 0 && descriptors && descriptors->register_fd &&
        descriptors->register_fd(host, descriptor, kClapPosixFdRead))
        watchedDescriptor = descriptor;
    return true;
}

void ClapEditor::Tick()
{
    if (windowOpen)
        editor->Idle();
}

void ClapEditor::CloseWindow()
{
    if (!windowOpen)
        return;
    if (timerRegistered && timers && timers->unregister_timer)
        timers->unregister_timer(host, timerId);
    timerRegistered = false;
    if (watchedDescriptor >= 0 && descriptors && descriptors->unregister_fd)
        descriptors->unregister_fd(host, watchedDescriptor);
    watchedDescriptor = -1;
    editor->CloseWindow();
    windowOpen = false;
}
