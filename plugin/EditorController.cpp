#include "plugin/EditorController.h"

#include "plugin/ProductRules.h"
#include "plugin/TwinPulseToneMix.h"

namespace tpm
{
int EditorController::ParamCount() const
{
    return plugin.Params().Count();
}

// Values are atomics: read without the lock.
double EditorController::NormalizedValue(int paramIdx)
{
    const Parameter* param = plugin.Params().Get(paramIdx);
    return param ? param->GetNormalized() : 0.0;
}

// Names, ranges, defaults and texts are fixed once the plug-in is made: reading them needs no lock.
double EditorController::DefaultNormalized(int paramIdx) const
{
    const Parameter* param = plugin.Params().Get(paramIdx);
    return param ? param->ToNormalized(param->DefaultValue()) : 0.0;
}

std::string EditorController::DisplayText(int paramIdx, double normalized) const
{
    const Parameter* param = plugin.Params().Get(paramIdx);
    // What the parameter will hold, rounded as it rounds, so a knob never shows 39 for a stored 40.
    return param ? param->FormatDisplay(param->StoredValue(normalized), false) : std::string();
}

std::string EditorController::Unit(int paramIdx) const
{
    const Parameter* param = plugin.Params().Get(paramIdx);
    return param ? param->Label() : "";
}

std::vector<std::string> EditorController::ListTexts(int paramIdx) const
{
    std::vector<std::string> texts;
    const Parameter* param = plugin.Params().Get(paramIdx);
    if (!param || (param->GetKind() != Parameter::kEnum && param->GetKind() != Parameter::kBool))
        return texts;
    // Display texts are listed in value order from the minimum.
    for (int i = 0; i < param->DisplayTextCount(); ++i)
        texts.emplace_back(param->GetDisplayText(static_cast<int>(param->Min()) + i));
    return texts;
}

bool EditorController::NormalizedFromText(int paramIdx, const char* text, double& normalized) const
{
    const Parameter* param = plugin.Params().Get(paramIdx);
    double value = 0.0;
    if (!param || !param->ParseEntry(text, value))
        return false;
    normalized = param->ToNormalized(value);
    return true;
}

void EditorController::BeginGesture(int paramIdx)
{
    plugin.Host().BeginEdit(paramIdx);
}

void EditorController::EndGesture(int paramIdx)
{
    plugin.Host().EndEdit(paramIdx);
}

Parameter* EditorController::Store(int paramIdx, double normalized)
{
    Parameter* param = plugin.Params().Get(paramIdx);
    if (!param)
        return nullptr;
    param->SetNormalized(normalized);
    plugin.Host().Automate(paramIdx, normalized);
    return param;
}

double EditorController::SetValue(int paramIdx, double normalized)
{
    ScopedLock guard(plugin.Lock());
    Parameter* param = Store(paramIdx, normalized);
    if (!param)
        return normalized;
    plugin.HandleParamChange(paramIdx);
    return param->GetNormalized();
}

double EditorController::SetValueAfterCommand(EditorCommand command, int paramIdx, double normalized)
{
    ScopedLock guard(plugin.Lock());
    Parameter* param = Store(paramIdx, normalized);
    if (!param)
        return normalized;
    // The command and the change reach the engine as one queued step, so nothing comes between them.
    if (command == EditorCommand::kSyncClick)
        plugin.HandleSyncClick(paramIdx);
    else
        plugin.HandleParamChange(paramIdx);
    return param->GetNormalized();
}

EditorDisplayState EditorController::DisplayState() const
{
    const EngineDisplay::Snapshot shown = plugin.Engine().Display().Read();
    EditorDisplayState state;
    state.bandText = shown.band;
    for (int k = 0; k < 2; ++k)
    {
        const EngineDisplay::LfoView& lfo = shown.lfo[k];
        const LfoGraphValues& m = lfo.marker;
        state.lfo[k] = {m.position, m.rangeLo, m.rangeHi, m.running, m.blocked};
        state.hiddenParams |= uint64_t{1} << HiddenRateParam(k, lfo.synced);
    }
    return state;
}

void EditorController::ApplyWaitingChanges()
{
    plugin.ApplyIfBlocksStopped();
}
} // namespace tpm
