#include "core/IEffectBase.h"

#include "core/IEditorLink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace
{
template <typename T> void FreeLastToFirst(std::vector<T>& list)
{
    while (!list.empty())
        list.pop_back();
}
} // namespace

IEffectBase::IEffectBase(const IEffectIdentity& identity)
{
    uniqueId = identity.uniqueId;
    manufacturerCode = identity.manufacturerCode;
    version = identity.version;
    latency = identity.latency;
    midiMode = identity.midiMode;
    stateChunks = identity.stateChunks;
    isInstrument = identity.isInstrument;

    for (int i = 0; i < identity.paramCount; ++i)
        parameters.push_back(std::make_unique<IParameter>());
    for (int i = 0; i < identity.presetCount; ++i)
    {
        auto preset = std::make_unique<IPresetRecord>();
        char name[32];
        std::snprintf(name, sizeof name, "- %d -", i + 1);
        preset->name.Set(name);
        presets.push_back(std::move(preset));
    }
    effectName.Set(identity.effectName);
    productName.Set(identity.productName);
    vendorName.Set(identity.vendorName);

    ParseChannelConfigs(identity.channelConfigs);
    inputPointers.assign(static_cast<std::size_t>(maxInputs), nullptr);
    outputPointers.assign(static_cast<std::size_t>(maxOutputs), nullptr);
    for (int i = 0; i < maxInputs; ++i)
    {
        inputChannels.push_back(std::make_unique<Channel>());
        inputChannels.back()->slot = &inputPointers[static_cast<std::size_t>(i)];
    }
    for (int i = 0; i < maxOutputs; ++i)
    {
        outputChannels.push_back(std::make_unique<Channel>());
        outputChannels.back()->slot = &outputPointers[static_cast<std::size_t>(i)];
    }
    SetChannelConnections(Side::Input, 0, maxInputs, true);
    SetChannelConnections(Side::Output, 0, maxOutputs, true);
    SetBlockSize(1024);
}

IEffectBase::~IEffectBase()
{
    delete std::exchange(editor, nullptr);
    FreeLastToFirst(parameters);
    FreeLastToFirst(presets);
    FreeLastToFirst(inputChannels);
    FreeLastToFirst(outputChannels);
    FreeLastToFirst(channelConfigs);
}

void IEffectBase::ParseChannelConfigs(const char* text)
{
    // "in-out" pairs separated by blanks; a part that cannot be read counts as 0.
    const char* p = text ? text : "";
    for (;;)
    {
        int inputs = 0;
        int outputs = 0;
        std::sscanf(p, "%d-%d", &inputs, &outputs);
        channelConfigs.push_back(std::make_unique<ChannelConfig>(ChannelConfig{inputs, outputs}));
        maxInputs = std::max(maxInputs, inputs);
        maxOutputs = std::max(maxOutputs, outputs);
        const char* blank = std::strchr(p, ' ');
        if (!blank)
            break;
        p = blank + 1;
    }
}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    for (int c = 0; c < maxOutputs; ++c)
    {
        double* out = outputs[c];
        if (c < maxInputs)
            std::copy(inputs[c], inputs[c] + std::max(nFrames, 0), out);
        else
            std::fill(out, out + std::max(nFrames, 0), 0.0);
    }
}

void IEffectBase::OnActivate(bool active)
{
    (void)active;
    ILockGuard guard(lock); // returns only after a running block has finished
}

bool IEffectBase::GetMidiKeyName(int key, char* text)
{
    (void)key;
    if (text)
        text[0] = '\0';
    return false;
}

void IEffectBase::SetBlockSize(int frames)
{
    // A size of 0 or less would leave no room at all: keep the previous one.
    if (frames <= 0 || frames == blockSize)
        return;
    // Allocate every new buffer before touching the old ones, so a size the machine cannot
    // hold leaves the previous block size working.
    std::vector<std::vector<double>> fresh;
    try
    {
        fresh.resize(inputChannels.size() + outputChannels.size());
        for (auto& buffer : fresh)
            buffer.assign(static_cast<std::size_t>(frames), 0.0);
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    std::size_t next = 0;
    for (auto* channels : {&inputChannels, &outputChannels})
        for (auto& channel : *channels)
        {
            channel->scratch.swap(fresh[next++]);
            if (!channel->connected)
                *channel->slot = channel->scratch.data();
        }
    blockSize = frames;
}

void IEffectBase::SetChannelConnections(Side side, int first, int count, bool connected)
{
    auto& channels = side == Side::Input ? inputChannels : outputChannels;
    const int total = static_cast<int>(channels.size());
    const int last = static_cast<int>(std::min<int64_t>(int64_t{first} + count, total));
    for (int i = std::max(first, 0); i < last; ++i)
    {
        Channel& channel = *channels[static_cast<std::size_t>(i)];
        channel.connected = connected;
        if (!connected)
            *channel.slot = channel.scratch.data();
    }
}

IParameter* IEffectBase::GetParam(int paramIdx)
{
    return paramIdx >= 0 && paramIdx < ParamCount() ? parameters[static_cast<std::size_t>(paramIdx)].get()
                                                    : nullptr;
}

const IParameter* IEffectBase::GetParam(int paramIdx) const
{
    return const_cast<IEffectBase*>(this)->GetParam(paramIdx);
}

void IEffectBase::SetParameterFromEditor(int paramIdx, double normalized)
{
    ILockGuard guard(lock);
    IParameter* param = GetParam(paramIdx);
    if (!param)
        return;
    param->SetNormalized(normalized);
    HostAutomate(paramIdx, normalized);
    HandleParamChange(paramIdx);
}

void IEffectBase::AttachEditor(IEditorLink* newEditor)
{
    if (!newEditor)
        return;
    ILockGuard guard(lock);
    for (int i = 0; i < ParamCount(); ++i)
        newEditor->SetControlsFromPlug(i, parameters[static_cast<std::size_t>(i)]->GetNormalized(), true);
    newEditor->CreateSurface();
    editor = newEditor;
}

void IEffectBase::ShowAllValuesInEditor()
{
    if (!editor)
        return;
    for (int i = 0; i < ParamCount(); ++i)
        editor->SetControlsFromPlug(i, parameters[static_cast<std::size_t>(i)]->Value(), false);
}
