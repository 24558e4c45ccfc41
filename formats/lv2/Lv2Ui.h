// The LV2 editor module's UI instance: the product's editor over a port-based controller, embedded in
// the window the host gives (ui:parent) and driven by the host's idle calls.
#pragma once

#include "formats/lv2/Lv2UiController.h"
#include "plugin/EditorLayout.h"

#include <lv2/ui/ui.h>

#include <memory>

class Lv2Ui
{
  public:
    static const LV2UI_Descriptor kDescriptor;

  private:
    Lv2Ui() = default;
    static Lv2Ui* Self(LV2UI_Handle handle) { return static_cast<Lv2Ui*>(handle); }

    static LV2UI_Handle Instantiate(const LV2UI_Descriptor* descriptor, const char* pluginUri,
                                    const char* bundlePath, LV2UI_Write_Function write,
                                    LV2UI_Controller controller, LV2UI_Widget* widget,
                                    const LV2_Feature* const* features);
    static void Cleanup(LV2UI_Handle handle);
    static void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
                          const void* buffer);
    static const void* ExtensionData(const char* uri);
    static int Idle(LV2UI_Handle handle);

    // Declared first, destroyed last: the editor goes before its controller.
    std::unique_ptr<Lv2UiController> controller;
    std::unique_ptr<IEditorLink> editor;
};
