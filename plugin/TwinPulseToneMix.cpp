#include "plugin/TwinPulseToneMix.h"

#include "core/IEditorLink.h"
#include "plugin/FactoryPresets.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginFactory.h"

#include <new>

TwinPulseToneMix::TwinPulseToneMix() : IEffectBase(PluginIdentity()), engine(*this)
{
    DefineParameters(*this);
    AttachEditor(editorLayout.Build(*this, engine));
    AddFactoryPresets(*this);
}

TwinPulseToneMix::~TwinPulseToneMix() = default;

void TwinPulseToneMix::ResetEngine()
{
    ILockGuard guard(lock);
    engine.Reset();
}

void TwinPulseToneMix::HandleParamChange(int paramIdx)
{
    ILockGuard guard(lock);
    engine.HandleParamChange(ToParamId(paramIdx));
    editorLayout.ShowEngineState(engine);
}

void TwinPulseToneMix::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    engine.ProcessBlock(inputs, outputs, nFrames);
    editorLayout.ShowEngineState(engine);
}

double TwinPulseToneMix::ParamValue(ParamId param) const
{
    const IParameter* p = GetParam(ToIndex(param));
    return p ? p->Value() : 0.0;
}

void TwinPulseToneMix::SetParamFromEngine(ParamId param, double value)
{
    const int paramIdx = ToIndex(param);
    IParameter* p = GetParam(paramIdx);
    if (!p)
        return;
    HostBeginEdit(paramIdx);
    p->SetValue(p->Limit(value));
    const double normalized = p->GetNormalized();
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

void TwinPulseToneMix::HideControls(ParamId param, bool hide)
{
    if (editor)
        editor->HideControls(ToIndex(param), hide);
}

std::unique_ptr<IEffectBase> CreatePlugin()
{
    try
    {
        return std::make_unique<TwinPulseToneMix>();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}
