#include "plugin/TwinPulseToneMix.h"

#include "plugin/EditorLayout.h"
#include "plugin/FactoryPresets.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginFactory.h"

#include <new>

TwinPulseToneMix::TwinPulseToneMix() : IEffectBase(PluginIdentity()), engine(*this)
{
    DefineParameters(*this);
    AddFactoryPresets(*this);
}

TwinPulseToneMix::~TwinPulseToneMix() = default;

void TwinPulseToneMix::ResetEngine()
{
    if (processor.HeldHere())
    {
        engine.Reset();
        return;
    }
    Post({EngineChange::Kind::kReset, 0});
}

void TwinPulseToneMix::HandleParamChange(int paramIdx)
{
    const ParamId param = ToParamId(paramIdx);
    if (param == ParamId::kNone)
        return;
    if (processor.HeldHere())
    {
        Handle(param);
        return;
    }
    Post({EngineChange::Kind::kHandle, static_cast<int16_t>(paramIdx)});
}

void TwinPulseToneMix::Post(EngineChange change)
{
    if (!changes.Push(change))
        (change.kind == EngineChange::Kind::kReset ? resetDropped : handleDropped).store(true);
    ApplyWhenIdle();
}

void TwinPulseToneMix::ApplyQueuedChanges()
{
    EngineChange change;
    while (changes.Pop(change))
    {
        if (change.kind == EngineChange::Kind::kReset)
            engine.Reset();
        else
        {
            if (change.kind == EngineChange::Kind::kSyncClickThenHandle)
                engine.NoteSyncClick();
            Handle(ToParamId(change.paramIdx));
        }
    }
    if (resetDropped.exchange(false))
        engine.Reset();
    if (handleDropped.exchange(false))
        for (int i = 0; i < ParamCount(); ++i)
            Handle(ToParamId(i));
}

void TwinPulseToneMix::HandleSyncClick(int paramIdx)
{
    const ParamId param = ToParamId(paramIdx);
    if (param == ParamId::kNone)
        return;
    if (processor.HeldHere())
    {
        engine.NoteSyncClick();
        Handle(param);
        return;
    }
    Post({EngineChange::Kind::kSyncClickThenHandle, static_cast<int16_t>(paramIdx)});
}

void TwinPulseToneMix::Handle(ParamId param)
{
    engine.HandleParamChange(param);
}

void TwinPulseToneMix::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    engine.ProcessBlock(inputs, outputs, nFrames);
}

std::unique_ptr<IEditorLink> TwinPulseToneMix::CreateEditor()
{
    return EditorLayout::Build(editorController);
}

double TwinPulseToneMix::ParamValue(ParamId param) const
{
    const IParameter* p = GetParam(ToIndex(param));
    return p ? p->Value() : 0.0;
}

void TwinPulseToneMix::SetParamFromEngine(ParamId param, double value)
{
    // Called by the engine while it handles a change, on the thread holding the processor: the value
    // is stored as an editor entry would store it, and host and engine hear of it at once, whether an
    // editor is open or not; an open editor takes it over at its next frame tick, like any other change.
    const int paramIdx = ToIndex(param);
    IParameter* p = GetParam(paramIdx);
    if (!p)
        return;
    HostBeginEdit(paramIdx);
    const double normalized = p->ToNormalized(p->Limit(value));
    p->SetNormalized(normalized);
    HostAutomate(paramIdx, normalized);
    Handle(param);
    HostEndEdit(paramIdx);
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
