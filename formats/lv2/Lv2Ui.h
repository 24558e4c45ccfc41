// The LV2 editor module's UI instance: the product's editor over a port-based controller, embedded in
// the window the host gives (ui:parent) and driven by the host's idle calls. It draws at the host's
// ui:scaleFactor (else the system's scale), follows the host's later scale through the options
// interface and sizes the host gives through ui:resize, and tells the host of each size it takes. A
// size the user chose goes to the plug-in, whose state keeps it, and comes back on its editorScale
// port when an editor opens later.
#pragma once

#include "formats/lv2/Lv2UiController.h"
#include "plugin/EditorLayout.h"

#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <memory>

namespace tpm
{
class Lv2Ui final : private IEditorLink::IResizeRequest
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
    // The host's resizing of the window it gave (ui:resize, host to editor).
    static int HostResize(LV2UI_Feature_Handle handle, int width, int height);
    static uint32_t GetOptions(LV2_Handle handle, LV2_Options_Option* options);
    static uint32_t SetOptions(LV2_Handle handle, const LV2_Options_Option* options);

    // The scale among the options; 0 where they name none.
    double ScaleIn(const LV2_Options_Option* options) const;
    // Takes a scale and tells the host the size it gives.
    void TakeScale(double scale);
    bool RequestSize(int width, int height) override;
    // A scale the user chose: the plug-in's state is to keep it.
    void TellPluginScale();

    const LV2UI_Resize* hostResize = nullptr;
    LV2_URID scaleFactorKey = 0;
    LV2_URID floatType = 0;
    LV2_URID objectType = 0;
    LV2_URID eventTransfer = 0;
    LV2_URID editorScaleKey = 0;
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller hostController = nullptr;
    bool userSized = false; // from then on the kept scale the plug-in reports is this editor's own

    // Declared first, destroyed last: the editor goes before its controller.
    std::unique_ptr<Lv2UiController> controller;
    std::unique_ptr<IEditorLink> editor;
};
} // namespace tpm
