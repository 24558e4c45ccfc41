#include "formats/lv2/Lv2UiController.h"

#include "plugin/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace tpm
{
static_assert(lv2port::kParams <= 64, "a gesture bit for every parameter port");

std::unique_ptr<Lv2UiController> Lv2UiController::Create(LV2UI_Write_Function write, LV2UI_Controller host,
                                                         const LV2UI_Touch* touch)
{
    std::unique_ptr<PluginInstance> product = PluginInstance::Create();
    if (!product || !product->Controller() || !write)
        return nullptr;
    return std::unique_ptr<Lv2UiController>(new (std::nothrow)
                                                Lv2UiController(std::move(product), write, host, touch));
}

Lv2UiController::Lv2UiController(std::unique_ptr<PluginInstance> product, LV2UI_Write_Function write,
                                 LV2UI_Controller host, const LV2UI_Touch* touch)
    : catalogue(std::move(product)), texts(*catalogue->Controller()), writeFunction(write),
      hostController(host), hostTouch(touch)
{
}

Lv2UiController::~Lv2UiController() = default;

void Lv2UiController::PortEvent(uint32_t port, float value)
{
    if (!std::isfinite(value))
        return;
    if (port < lv2port::kParams)
        catalogue->SetParamValue(static_cast<int>(port), value);
    else if (port == lv2port::kBand)
        band = value;
    for (std::size_t k = 0; k < 2; ++k)
    {
        if (port == lv2port::kLfoMarker[k])
            lfoMarker[k] = value;
        if (port == lv2port::kLfoState[k])
            lfoState[k] = value;
    }
}

int Lv2UiController::ParamCount() const
{
    return texts.ParamCount();
}

double Lv2UiController::NormalizedValue(int paramIdx)
{
    return texts.NormalizedValue(paramIdx);
}

double Lv2UiController::DefaultNormalized(int paramIdx) const
{
    return texts.DefaultNormalized(paramIdx);
}

std::string Lv2UiController::DisplayText(int paramIdx, double normalized) const
{
    return texts.DisplayText(paramIdx, normalized);
}

std::string Lv2UiController::Unit(int paramIdx) const
{
    return texts.Unit(paramIdx);
}

std::vector<std::string> Lv2UiController::ListTexts(int paramIdx) const
{
    return texts.ListTexts(paramIdx);
}

bool Lv2UiController::NormalizedFromText(int paramIdx, const char* text, double& normalized) const
{
    return texts.NormalizedFromText(paramIdx, text, normalized);
}

void Lv2UiController::Touch(int paramIdx, bool grabbed) const
{
    if (hostTouch && hostTouch->touch && paramIdx >= 0 && paramIdx < ParamCount())
        hostTouch->touch(hostTouch->handle, static_cast<uint32_t>(paramIdx), grabbed);
}

void Lv2UiController::BeginGesture(int paramIdx)
{
    if (paramIdx >= 0 && paramIdx < ParamCount())
        gesturesBegun |= Bit(paramIdx);
}

void Lv2UiController::EndGesture(int paramIdx)
{
    if (paramIdx < 0 || paramIdx >= ParamCount())
        return;
    if (gesturesTold & Bit(paramIdx))
        Touch(paramIdx, false);
    gesturesBegun &= ~Bit(paramIdx);
    gesturesTold &= ~Bit(paramIdx);
}

double Lv2UiController::SetValue(int paramIdx, double normalized)
{
    const Parameter* param = catalogue->Param(paramIdx);
    if (!param)
        return normalized;
    // The port carries the value as the parameter stores it, rounded to its step.
    const float value = static_cast<float>(param->StoredValue(normalized));
    const bool inGesture = (gesturesBegun & Bit(paramIdx)) != 0;
    // Outside a gesture the editor only repeats what the port holds (as a closing entry field does):
    // the host has it already, and a write there would reach it as a change no gesture covers.
    if (!inGesture && static_cast<float>(catalogue->ParamValue(paramIdx)) == value)
        return param->GetNormalized();
    if (inGesture && !(gesturesTold & Bit(paramIdx)))
    {
        Touch(paramIdx, true);
        gesturesTold |= Bit(paramIdx);
    }
    catalogue->SetParamValue(paramIdx, value);
    writeFunction(hostController, static_cast<uint32_t>(paramIdx), sizeof value, 0, &value);
    return param->GetNormalized();
}

// A port carries a value and nothing else: the sync switch's click reaches the plug-in as its new
// value, and the rate the LFO ran at stays in the other rate parameter.
double Lv2UiController::SetValueAfterCommand(EditorCommand command, int paramIdx, double normalized)
{
    (void)command;
    return SetValue(paramIdx, normalized);
}

EditorDisplayState Lv2UiController::DisplayState() const
{
    EditorDisplayState state;
    const auto bandIndex = static_cast<std::size_t>(std::lround(std::max(band, 0.0f)));
    state.bandText = kBandNames[std::min(bandIndex, kBandNames.size() - 1)];
    for (int k = 0; k < 2; ++k)
    {
        const long shown = std::lround(lfoState[static_cast<std::size_t>(k)]);
        state.lfo[k] = {lfoMarker[static_cast<std::size_t>(k)], 0.0f, 1.0f, shown == lv2port::kLfoRunning,
                        shown == lv2port::kLfoBlocked};
        // The sync switch's port value stands for the LFO's rate kind, which this module cannot see.
        const bool synced = catalogue->ParamValue(LfoSyncParam(k)) == 1.0;
        state.hiddenParams |= uint64_t{1} << HiddenRateParam(k, synced);
    }
    return state;
}
} // namespace tpm
