// The editor's controller in the LV2 editor module, which may run in another process than the plug-in:
// parameter values come from the host's port events and go back through its write function, gestures
// through the host's touch feature, and what the engine shows (band name, LFO markers) from the
// plug-in's output ports. Names, ranges and texts come from a copy of the product that never plays.
#pragma once

#include "editor/IEditorController.h"
#include "formats/lv2/Lv2Ports.h"

#include <lv2/ui/ui.h>

#include <array>
#include <cstdint>
#include <memory>

namespace tpm
{
class PluginInstance;

class Lv2UiController final : public tpm::IEditorController
{
  public:
    // Null when the product cannot be made.
    static std::unique_ptr<Lv2UiController> Create(LV2UI_Write_Function write, LV2UI_Controller host,
                                                   const LV2UI_Touch* touch);
    ~Lv2UiController();

    // A port's value as the host reports it.
    void PortEvent(uint32_t port, float value);

    int ParamCount() const override;
    double NormalizedValue(int paramIdx) override;
    double DefaultNormalized(int paramIdx) const override;
    std::string DisplayText(int paramIdx, double normalized) const override;
    std::string Unit(int paramIdx) const override;
    std::vector<std::string> ListTexts(int paramIdx) const override;
    bool NormalizedFromText(int paramIdx, const char* text, double& normalized) const override;

    void BeginGesture(int paramIdx) override;
    double SetValue(int paramIdx, double normalized) override;
    double SetValueAfterCommand(tpm::EditorCommand command, int paramIdx, double normalized) override;
    void EndGesture(int paramIdx) override;

    tpm::EditorDisplayState DisplayState() const override;

  private:
    Lv2UiController(std::unique_ptr<PluginInstance> product, LV2UI_Write_Function write,
                    LV2UI_Controller host, const LV2UI_Touch* touch);
    void Touch(int paramIdx, bool grabbed) const;
    static uint64_t Bit(int paramIdx) { return uint64_t{1} << paramIdx; }

    std::unique_ptr<PluginInstance> catalogue;
    tpm::IEditorController& texts;
    LV2UI_Write_Function writeFunction;
    LV2UI_Controller hostController;
    const LV2UI_Touch* hostTouch;
    // Gestures the editor began, and of those the ones the host was told of: the host hears of a
    // gesture with its first value, so a press that changes nothing (the right-click that opens the
    // typed entry) tells it nothing.
    uint64_t gesturesBegun = 0;
    uint64_t gesturesTold = 0;
    float band = 0.0f;
    std::array<float, 2> lfoMarker{};
    std::array<float, 2> lfoState{};
};
} // namespace tpm
