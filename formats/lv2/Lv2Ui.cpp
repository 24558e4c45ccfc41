#include "formats/lv2/Lv2Ui.h"

#include "formats/lv2/Lv2Features.h"
#include "plugin/EditorLayout.h"

#include <cstring>
#include <new>

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
    if (!self->editor || !self->editor->OpenWindow(parent, false))
        return nullptr;
    *widget = reinterpret_cast<LV2UI_Widget>(self->editor->NativeWindow());
    if (const auto* resize = static_cast<const LV2UI_Resize*>(Lv2Features::Find(features, LV2_UI__resize)))
        if (resize->ui_resize)
            resize->ui_resize(resize->handle, self->editor->Width(), self->editor->Height());
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
    Self(handle)->controller->PortEvent(port, value);
}

int Lv2Ui::Idle(LV2UI_Handle handle)
{
    Self(handle)->editor->Idle();
    return 0;
}

const void* Lv2Ui::ExtensionData(const char* uri)
{
    static const LV2UI_Idle_Interface kIdle = {&Idle};
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &kIdle;
    return nullptr;
}

const LV2UI_Descriptor Lv2Ui::kDescriptor = {lv2port::kUiUri, &Instantiate, &Cleanup, &PortEvent,
                                             &ExtensionData};
