#include "plugin/TwinPulseToneMix.h"

#include "plugin/EditorLayout.h"
#include "plugin/FactoryPresets.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginFactory.h"

#include <new>

namespace tpm
{
TwinPulseToneMix::TwinPulseToneMix() : PluginCore(PluginIdentity()), engine(*this)
{
    static_assert(kParamCount <= PendingChanges::kMaxParams);
    DefineParameters(*this);
    AddFactoryPresets(Programs());
}

TwinPulseToneMix::~TwinPulseToneMix() = default;

void TwinPulseToneMix::ResetEngine()
{
    if (processor.HeldHere())
    {
        engine.Reset(SampleRate());
        return;
    }
    pending.MarkReset();
    ApplyWhenIdle();
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
    // The restart button held down: kept as a press, so that letting go before the next block does
    // not undo it.
    if (param == ParamId::kRestartLfos && ParamValue(param) == 1.0)
        pending.MarkPressThenHandle(paramIdx);
    else
        pending.MarkHandle(paramIdx);
    ApplyWhenIdle();
}

void TwinPulseToneMix::ApplyQueuedChanges()
{
    // At most a reset and one handler per parameter, each on the newest value, whatever the number of
    // changes made since the last time: the reset first, then the handlers in parameter order.
    const PendingChanges::Taken taken = pending.TakeAll();
    if (taken.reset)
        engine.Reset(SampleRate());
    for (int i = 0; i < Params().Count() && (taken.handles >> i) != 0; ++i)
    {
        const uint64_t bit = uint64_t{1} << i;
        if (!(taken.handles & bit))
            continue;
        if (taken.syncClicks & bit)
            engine.NoteSyncClick();
        if (taken.presses & bit)
            engine.PressRestart();
        Handle(ToParamId(i));
    }
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
    pending.MarkSyncClickThenHandle(paramIdx);
    ApplyWhenIdle();
}

void TwinPulseToneMix::Handle(ParamId param)
{
    const ToneEngine::WriteBack back = engine.HandleParamChange(param);
    if (back.param != ParamId::kNone)
        WriteBack(back);
}

void TwinPulseToneMix::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    // The host is asked once per block, for what the engine reads only.
    ToneEngine::BlockTransport transport{SampleRate(), 0.0, false};
    const TransportNeeds needs{engine.ReadsTempo(), engine.ReadsPlaying()};
    const TransportSnapshot host =
        needs.tempo || needs.playing ? Host().Transport(needs) : TransportSnapshot{};
    // A tempo the host marks invalid, or a negative one, is no tempo; recording counts as playing.
    if (needs.tempo && host.available && host.tempoValid && host.tempo > 0.0)
        transport.samplesPerBeat = SampleRate() / host.tempo * 60.0;
    if (needs.playing)
        transport.playing = host.available && (host.playing || host.recording);
    engine.ProcessBlock(inputs, outputs, nFrames, transport);
}

std::unique_ptr<IEditorLink> TwinPulseToneMix::CreateEditor()
{
    return EditorLayout::Build(editorController);
}

double TwinPulseToneMix::ParamValue(ParamId param) const
{
    const Parameter* p = Params().Get(ToIndex(param));
    return p ? p->Value() : 0.0;
}

void TwinPulseToneMix::WriteBack(const ToneEngine::WriteBack& back)
{
    // Right after the engine handled a change, on the thread holding the processor: the value is
    // stored as an editor entry would store it, and host and engine hear of it at once, whether an
    // editor is open or not; an open editor takes it over at its next frame tick, like any other change.
    const int paramIdx = ToIndex(back.param);
    Parameter* p = Params().Get(paramIdx);
    if (!p)
        return;
    Host().BeginEdit(paramIdx);
    const double normalized = p->ToNormalized(p->Limit(back.value));
    p->SetNormalized(normalized);
    Host().Automate(paramIdx, normalized);
    Handle(back.param);
    Host().EndEdit(paramIdx);
}

std::unique_ptr<TwinPulseToneMix> CreatePlugin()
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
} // namespace tpm
