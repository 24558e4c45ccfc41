#include "plugin/VSTCLASS.h"

#include "core/IEditorLink.h"
#include "plugin/FactoryPresets.h"
#include "plugin/ParameterTable.h"

VSTCLASS::VSTCLASS(audioMasterCallback host) : IEffectVST(host, PluginIdentity()), engine(*this)
{
    DefineParameters(*this);
    AttachEditor(editorLayout.Build(*this, engine));
    AddFactoryPresets(*this);
}

VSTCLASS::~VSTCLASS() = default;

void VSTCLASS::ResetEngine()
{
    ILockGuard guard(lock);
    engine.Reset();
}

void VSTCLASS::HandleParamChange(int paramIdx)
{
    ILockGuard guard(lock);
    engine.HandleParamChange(paramIdx);
    editorLayout.ShowEngineState(engine);
}

void VSTCLASS::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    engine.ProcessBlock(inputs, outputs, nFrames);
    editorLayout.ShowEngineState(engine);
}

double VSTCLASS::ParamValue(int paramIdx) const
{
    const IParameter* param = GetParam(paramIdx);
    return param ? param->Value() : 0.0;
}

void VSTCLASS::SetParamFromEngine(int paramIdx, double value)
{
    IParameter* param = GetParam(paramIdx);
    if (!param)
        return;
    HostBeginEdit(paramIdx);
    param->SetValue(param->Limit(value));
    const double normalized = param->GetNormalized();
    if (editor)
        editor->SetControlsFromEntry(paramIdx, normalized);
    else
    {
        // Without an editor nothing re-enters the value, so tell the host and the engine here.
        HostAutomate(paramIdx, normalized);
        HandleParamChange(paramIdx);
    }
    HostEndEdit(paramIdx);
}

void VSTCLASS::HideControls(int paramIdx, bool hide)
{
    if (editor)
        editor->HideControls(paramIdx, hide);
}
