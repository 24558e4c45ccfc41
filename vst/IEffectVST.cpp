#include "vst/IEffectVST.h"

#include "core/IEditorLink.h"

#include <algorithm>

namespace
{
VstIntPtr DispatcherCallback(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt)
{
    IEffectVST* plug = IEffectVST::FromEffect(e);
    if (!plug)
        return 0;
    if (opcode == vst::effClose)
    {
        // The object holds its own lock: take and drop it so no other call is inside, then go.
        plug->Lock().Lock();
        e->object = nullptr;
        plug->Lock().Unlock();
        delete plug;
        return 0;
    }
    ILockGuard guard(plug->Lock());
    return plug->Dispatch(opcode, index, value, ptr, opt);
}

void ProcessCallback(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    if (IEffectVST* plug = IEffectVST::FromEffect(e))
        plug->ProcessFloat(inputs, outputs, frames, true);
}

void ProcessReplacingCallback(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    if (IEffectVST* plug = IEffectVST::FromEffect(e))
        plug->ProcessFloat(inputs, outputs, frames, false);
}

void ProcessDoubleReplacingCallback(AEffect* e, double** inputs, double** outputs, VstInt32 frames)
{
    if (IEffectVST* plug = IEffectVST::FromEffect(e))
        plug->ProcessDouble(inputs, outputs, frames);
}

void SetParameterCallback(AEffect* e, VstInt32 index, float value)
{
    if (IEffectVST* plug = IEffectVST::FromEffect(e))
        plug->SetParameter(index, value);
}

float GetParameterCallback(AEffect* e, VstInt32 index)
{
    IEffectVST* plug = IEffectVST::FromEffect(e);
    return plug ? plug->GetParameter(index) : 0.0f;
}

VstInt32 ArrangementType(int channels)
{
    switch (channels)
    {
    case 0:
        return vst::kSpeakerArrEmpty;
    case 1:
        return vst::kSpeakerArrMono;
    case 2:
        return vst::kSpeakerArrStereo;
    default:
        return vst::kSpeakerArrUserDefined;
    }
}
} // namespace

IEffectVST::IEffectVST(audioMasterCallback host, const IEffectIdentity& identity)
    : IEffectBase(identity), hostCallback(host)
{
    effect.magic = vst::kEffectMagic;
    effect.dispatcher = DispatcherCallback;
    effect.process = ProcessCallback;
    effect.setParameter = SetParameterCallback;
    effect.getParameter = GetParameterCallback;
    effect.processReplacing = ProcessReplacingCallback;
    effect.processDoubleReplacing = ProcessDoubleReplacingCallback;
    effect.numPrograms = PresetCount();
    effect.numParams = ParamCount();
    effect.numInputs = maxInputs;
    effect.numOutputs = maxOutputs;
    effect.flags = vst::effFlagsCanReplacing | vst::effFlagsCanDoubleReplacing;
    if (stateChunks)
        effect.flags |= vst::effFlagsProgramChunks;
    if (std::any_of(channelConfigs.begin(), channelConfigs.end(),
                    [](const auto& c) { return c->inputs == 1; }))
        effect.flags |= vst::effFlagsCanMono;
    if (isInstrument)
        effect.flags |= vst::effFlagsIsSynth;
    effect.initialDelay = latency;
    effect.ioRatio = 1.0f;
    effect.object = this;
    effect.uniqueID = uniqueId;
    effect.version = (version >> 16) * 10000 + ((version >> 8) & 0xFF) * 100 + (version & 0xFF);

    inputArrangement.numChannels = maxInputs;
    inputArrangement.type = ArrangementType(maxInputs);
    outputArrangement.numChannels = maxOutputs;
    outputArrangement.type = ArrangementType(maxOutputs);
}

IEffectVST::~IEffectVST() = default;

IEffectVST* IEffectVST::FromEffect(AEffect* e)
{
    return e ? static_cast<IEffectVST*>(e->object) : nullptr;
}

void IEffectVST::AttachEditor(IEditorLink* newEditor)
{
    if (!newEditor)
        return;
    IEffectBase::AttachEditor(newEditor);
    effect.flags |= vst::effFlagsHasEditor;
    RefreshEditorRect();
}

void IEffectVST::RefreshEditorRect()
{
    if (!editor)
        return;
    editorRect.top = 0;
    editorRect.left = 0;
    editorRect.bottom = static_cast<VstInt16>(editor->Height());
    editorRect.right = static_cast<VstInt16>(editor->Width());
}

void IEffectVST::SetLatency(int samples)
{
    latency = samples;
    effect.initialDelay = samples;
}

void IEffectVST::SetParameter(VstInt32 index, float value)
{
    ILockGuard guard(lock);
    IParameter* param = GetParam(index);
    if (!param)
        return;
    if (editor)
        editor->SetControlsFromPlug(index, value, true);
    param->SetNormalized(value);
    HandleParamChange(index);
}

float IEffectVST::GetParameter(VstInt32 index)
{
    ILockGuard guard(lock);
    const IParameter* param = GetParam(index);
    return param ? static_cast<float>(param->GetNormalized()) : 0.0f;
}

void IEffectVST::PrepareForHost()
{
    if (hostPrepared)
        return;
    hostPrepared = true;
    const int id = GetHostId();
    if (id == 15 || id == 17 || id == 18 || id == 20)
    {
        SetChannelConnections(Side::Input, 2, maxInputs - 2, false);
        // These hosts wire every output beyond the stereo pair; the slots stay as they are.
        for (std::size_t i = 2; i < outputChannels.size(); ++i)
            outputChannels[i]->connected = true;
    }
    inputArrangement.numChannels = effect.numInputs = static_cast<VstInt32>(inputChannels.size());
    outputArrangement.numChannels = effect.numOutputs = static_cast<VstInt32>(outputChannels.size());
}
