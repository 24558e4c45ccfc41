// The CLAP plug-in's gui, timer and file-descriptor extensions: main-thread calls, checked and
// handed to the editor.
#include "formats/clap/ClapPlugin.h"

#include "editor/EditorSize.h"

#include <algorithm>
#include <string_view>

namespace tpm
{
const clap_plugin_gui_t ClapPlugin::kGui = {
    &GuiApiSupported, &GuiPreferredApi, &GuiCreate,       &GuiDestroy,    &GuiSetScale,
    &GuiGetSize,      &GuiCanResize,    &GuiResizeHints,  &GuiAdjustSize, &GuiSetSize,
    &GuiSetParent,    &GuiSetTransient, &GuiSuggestTitle, &GuiShow,       &GuiHide};
const clap_plugin_timer_support_t ClapPlugin::kTimerSupport = {&OnTimer};
const clap_plugin_posix_fd_support_t ClapPlugin::kPosixFdSupport = {&OnFd};

namespace
{
bool SameText(const char* a, const char* b)
{
    return a && b && std::string_view(a) == b;
}
} // namespace

bool ClapPlugin::GuiApiSupported(const clap_plugin_t* p, const char* api, bool floating)
{
    return Self(p) && !floating && SameText(api, ClapEditor::Api());
}

bool ClapPlugin::GuiPreferredApi(const clap_plugin_t* p, const char** api, bool* floating)
{
    if (!Self(p) || !api || !floating)
        return false;
    *api = ClapEditor::Api();
    *floating = false;
    return true;
}

bool ClapPlugin::GuiCreate(const clap_plugin_t* p, const char* api, bool floating)
{
    ClapPlugin* self = Self(p);
    return self && self->OnMainThread() && self->editor.Create(api, floating);
}

void ClapPlugin::GuiDestroy(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    if (self && self->OnMainThread())
        self->editor.Destroy();
}

bool ClapPlugin::GuiSetScale(const clap_plugin_t* p, double scale)
{
    ClapPlugin* self = Self(p);
    return self && self->OnMainThread() && self->editor.SetScale(scale);
}

bool ClapPlugin::GuiGetSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
    ClapPlugin* self = Self(p);
    return self && width && height && self->editor.GetSize(*width, *height);
}

bool ClapPlugin::GuiCanResize(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    return self && self->editor.Created();
}

bool ClapPlugin::GuiResizeHints(const clap_plugin_t* p, clap_gui_resize_hints_t* hints)
{
    if (!Self(p) || !hints)
        return false;
    *hints = clap_gui_resize_hints_t{true, true, true, tpm::kEditorLogicalWidth, tpm::kEditorLogicalHeight};
    return true;
}

bool ClapPlugin::GuiAdjustSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
    if (!Self(p) || !width || !height)
        return false;
    // Sizes past what an int holds are as good as the largest.
    const auto side = [](uint32_t v) { return static_cast<int>(std::min<uint32_t>(v, 1u << 20)); };
    const tpm::EditorSize fit = tpm::FitEditorSize(side(*width), side(*height));
    *width = static_cast<uint32_t>(fit.width);
    *height = static_cast<uint32_t>(fit.height);
    return true;
}

bool ClapPlugin::GuiSetSize(const clap_plugin_t* p, uint32_t width, uint32_t height)
{
    ClapPlugin* self = Self(p);
    return self && self->OnMainThread() && self->editor.SetSize(width, height);
}

bool ClapPlugin::GuiSetParent(const clap_plugin_t* p, const clap_window_t* window)
{
    ClapPlugin* self = Self(p);
    return self && window && self->OnMainThread() && self->editor.SetParent(*window);
}

bool ClapPlugin::GuiSetTransient(const clap_plugin_t* p, const clap_window_t* window)
{
    (void)p;
    (void)window;
    return false; // embedded only
}

void ClapPlugin::GuiSuggestTitle(const clap_plugin_t* p, const char* title)
{
    (void)p;
    (void)title;
}

bool ClapPlugin::GuiShow(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    return self && self->editor.Created();
}

bool ClapPlugin::GuiHide(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    return self && self->editor.Created();
}

void ClapPlugin::OnTimer(const clap_plugin_t* p, clap_id timerId)
{
    (void)timerId;
    ClapPlugin* self = Self(p);
    if (self && self->OnMainThread())
        self->editor.Tick();
}

void ClapPlugin::OnFd(const clap_plugin_t* p, int fd, clap_posix_fd_flags_t flags)
{
    (void)fd;
    (void)flags;
    ClapPlugin* self = Self(p);
    if (self && self->OnMainThread())
        self->editor.Tick();
}
} // namespace tpm
