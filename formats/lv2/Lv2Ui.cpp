#include "formats/lv2/Lv2Ui.h"

#include "editor/EditorSize.h"
#include "editor/IWindowLayer.h"
#include "formats/lv2/Lv2Features.h"
#include "plugin/EditorLayout.h"

#include <lv2/atom/atom.h>

#include <cstring>
#include <new>

namespace tpm
{
LV2UI_Handle Lv2Ui::Instantiate(const LV2UI_Descriptor* descriptor, const char* pluginUri,
                                const char* bundlePath, LV2UI_Write_Function write,
                                LV2UI_Controller controller, LV2UI_Widget* widget,
                                const LV2_Feature* const* features)
{
    (void)descriptor;
    (void)bundlePath;
    void* parent = const_cast<void*>(Lv2Features::Find(features, LV2_UI__parent));
    if (!pluginUri || std::strcmp(pluginUri, lv2port::kPluginUri) != 0 || !parent || !widget)
        return nullptr;
    std::unique_ptr<Lv2Ui> self(new (std::nothrow) Lv2Ui());
    if (!self)
        return nullptr;
    self->controller = Lv2UiController::Create(
        write, controller, static_cast<const LV2UI_Touch*>(Lv2Features::Find(features, LV2_UI__touch)));
    if (!self->controller)
        return nullptr;
    self->editor = EditorLayout::Build(*self->controller);
    if (!self->editor)
        return nullptr;
    if (const auto* map = static_cast<const LV2_URID_Map*>(Lv2Features::Find(features, LV2_URID__map)))
    {
        self->scaleFactorKey = map->map(map->handle, LV2_UI__scaleFactor);
        self->floatType = map->map(map->handle, LV2_ATOM__Float);
        self->objectType = map->map(map->handle, LV2_ATOM__Object);
        self->eventTransfer = map->map(map->handle, LV2_ATOM__eventTransfer);
        self->editorScaleKey = map->map(map->handle, lv2port::kEditorScaleUri);
    }
    self->write = write;
    self->hostController = controller;
    const double hostScale = self->ScaleIn(
        static_cast<const LV2_Options_Option*>(Lv2Features::Find(features, LV2_OPTIONS__options)));
    self->editor->SetScale(hostScale > 0.0 ? hostScale : tpm::SystemEditorScale());
    if (!self->editor->OpenWindow(parent, false))
        return nullptr;
    *widget = reinterpret_cast<LV2UI_Widget>(self->editor->NativeWindow());
    self->hostResize = static_cast<const LV2UI_Resize*>(Lv2Features::Find(features, LV2_UI__resize));
    // The grip only where the host can resize the window it gave.
    if (self->hostResize && self->hostResize->ui_resize)
        self->editor->SetResizeRequest(self.get());
    if (self->hostResize && self->hostResize->ui_resize)
        self->hostResize->ui_resize(self->hostResize->handle, self->editor->Width(), self->editor->Height());
    return self.release();
}

void Lv2Ui::Cleanup(LV2UI_Handle handle)
{
    Lv2Ui* self = Self(handle);
    self->editor->CloseWindow();
    delete self;
}

void Lv2Ui::PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    if (format != 0 || size != sizeof(float) || !buffer)
        return;
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    Lv2Ui* self = Self(handle);
    if (port == lv2port::kEditorScale)
    {
        // The size the state keeps wins over the host's scale, until the user picks another.
        if (value > 0.0f && !self->userSized)
            self->TakeScale(value);
        return;
    }
    self->controller->PortEvent(port, value);
}

int Lv2Ui::Idle(LV2UI_Handle handle)
{
    Self(handle)->editor->Idle();
    return 0;
}

double Lv2Ui::ScaleIn(const LV2_Options_Option* options) const
{
    for (const LV2_Options_Option* o = options; scaleFactorKey != 0 && o && o->key != 0; ++o)
        if (o->key == scaleFactorKey && o->type == floatType && o->size == sizeof(float) && o->value)
        {
            float scale = 0.0f;
            std::memcpy(&scale, o->value, sizeof scale);
            return scale > 0.0f ? scale : 0.0;
        }
    return 0.0;
}

void Lv2Ui::TakeScale(double scale)
{
    const int oldWidth = editor->Width();
    const int oldHeight = editor->Height();
    editor->SetScale(scale);
    if ((editor->Width() != oldWidth || editor->Height() != oldHeight) && hostResize && hostResize->ui_resize)
        hostResize->ui_resize(hostResize->handle, editor->Width(), editor->Height());
}

bool Lv2Ui::RequestSize(int width, int height)
{
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    if (!hostResize || !hostResize->ui_resize ||
        hostResize->ui_resize(hostResize->handle, fit.width, fit.height) != 0)
        return false;
    editor->SetScale(fit.scale);
    TellPluginScale();
    return true;
}

void Lv2Ui::TellPluginScale()
{
    userSized = true;
    if (!write || editorScaleKey == 0)
        return;
    struct Message
    {
        LV2_Atom_Object object;
        LV2_Atom_Property_Body property;
        float scale;
    };
    Message message{};
    message.object.atom = {sizeof(Message) - sizeof(LV2_Atom), objectType};
    message.object.body = {0, editorScaleKey};
    message.property = {editorScaleKey, 0, {sizeof(float), floatType}};
    message.scale = static_cast<float>(editor->Scale());
    write(hostController, lv2port::kEvents, sizeof message, eventTransfer, &message);
}

int Lv2Ui::HostResize(LV2UI_Feature_Handle handle, int width, int height)
{
    Lv2Ui* self = Self(handle);
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    const bool changed = fit.width != self->editor->Width() || fit.height != self->editor->Height();
    self->editor->SetScale(fit.scale);
    if (changed)
        self->TellPluginScale();
    if (fit.width == width && fit.height == height)
        return 0;
    // Off the aspect ratio: the editor took the nearest size that fits, and tells the host so.
    if (self->hostResize && self->hostResize->ui_resize)
        self->hostResize->ui_resize(self->hostResize->handle, fit.width, fit.height);
    return 1;
}

uint32_t Lv2Ui::GetOptions(LV2_Handle handle, LV2_Options_Option* options)
{
    (void)handle;
    (void)options;
    return LV2_OPTIONS_ERR_UNKNOWN;
}

uint32_t Lv2Ui::SetOptions(LV2_Handle handle, const LV2_Options_Option* options)
{
    Lv2Ui* self = static_cast<Lv2Ui*>(handle);
    const double scale = self->ScaleIn(options);
    if (scale > 0.0)
        self->TakeScale(scale);
    return LV2_OPTIONS_SUCCESS;
}

const void* Lv2Ui::ExtensionData(const char* uri)
{
    static const LV2UI_Idle_Interface kIdle = {&Idle};
    // The host's handle for the resize call is the editor's own (the instance).
    static const LV2UI_Resize kResize = {nullptr, &HostResize};
    static const LV2_Options_Interface kOptions = {&GetOptions, &SetOptions};
    if (!uri)
        return nullptr;
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &kIdle;
    if (std::strcmp(uri, LV2_UI__resize) == 0)
        return &kResize;
    if (std::strcmp(uri, LV2_OPTIONS__interface) == 0)
        return &kOptions;
    return nullptr;
}

const LV2UI_Descriptor Lv2Ui::kDescriptor = {lv2port::kUiUri, &Instantiate, &Cleanup, &PortEvent,
                                             &ExtensionData};
} // namespace tpm
