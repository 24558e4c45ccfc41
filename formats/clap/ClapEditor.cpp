#include "formats/clap/ClapEditor.h"

#include "editor/EditorSize.h"
#include "editor/IWindowLayer.h"
#include "plugin/PluginInstance.h"

#include <cstring>

namespace tpm
{
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
        hostGui = static_cast<const clap_host_gui_t*>(host->get_extension(host, kClapExtGui));
    }
}

bool ClapEditor::Create(const char* api, bool floating)
{
    // Only embedded, only in the platform's own window system, and once.
    if (!instance || editor || floating || !api || std::strcmp(api, Api()) != 0)
        return false;
    editor = instance->CreateEditor();
    if (!editor)
        return false;
    // Hosts call set_scale next where they know better than the system.
    const double remembered = instance->EditorScale();
    editor->SetScale(remembered > 0.0 ? remembered : tpm::SystemEditorScale());
    // The grip only where the host can resize its window.
    if (hostGui && hostGui->request_resize)
        editor->SetResizeRequest(this);
    return true;
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

bool ClapEditor::SetScale(double scale)
{
    if (!editor || !(scale > 0.0) || instance->EditorScale() > 0.0)
        return false;
    editor->SetScale(scale);
    return true;
}

bool ClapEditor::GetSize(uint32_t& width, uint32_t& height) const
{
    if (!editor)
        return false;
    width = static_cast<uint32_t>(editor->Width());
    height = static_cast<uint32_t>(editor->Height());
    return true;
}

bool ClapEditor::SetSize(uint32_t width, uint32_t height)
{
    if (!editor)
        return false;
    const tpm::EditorSize fit = tpm::FitEditorSize(static_cast<int>(width), static_cast<int>(height));
    if (static_cast<uint32_t>(fit.width) != width || static_cast<uint32_t>(fit.height) != height)
        return false;
    TakeUserScale(fit.scale);
    return true;
}

bool ClapEditor::RequestSize(int width, int height)
{
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    if (!editor || !hostGui || !hostGui->request_resize ||
        !hostGui->request_resize(host, static_cast<uint32_t>(fit.width), static_cast<uint32_t>(fit.height)))
        return false;
    TakeUserScale(fit.scale);
    return true;
}

void ClapEditor::TakeUserScale(double scale)
{
    editor->SetScale(scale);
    instance->SetEditorScale(editor->Scale());
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
} // namespace tpm
