// The component's audio processor: bus arrangements, sample sizes, the process call with its
// parameter points and transport.
#include "formats/vst3/Vst3Component.h"

#include <algorithm>
#include <cmath>

namespace tpm
{
namespace
{
template <typename Sample> Sample** ChannelsOf(const vst3::AudioBusBuffers& bus)
{
    if constexpr (sizeof(Sample) == 8)
        return bus.channelBuffers64;
    else
        return bus.channelBuffers32;
}

// A bit per output channel whose samples are all zero.
template <typename Sample> vst3::uint64 SilentChannels(Sample* const* channels, int count, int frames)
{
    vst3::uint64 flags = 0;
    for (int c = 0; c < std::min(count, 64); ++c)
        if (channels[c] &&
            std::all_of(channels[c], channels[c] + frames, [](Sample s) { return s == Sample(0); }))
            flags |= vst3::uint64{1} << c;
    return flags;
}
} // namespace

vst3::tresult Vst3Component::setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                                vst3::SpeakerArrangement* outputs, vst3::int32 numOuts)
{
    if (stage.load() != Stage::kInitialized)
        return vst3::kResultFalse;
    // Stereo in and out only; anything else is refused and the buses stay stereo.
    const bool stereo = numIns == 1 && numOuts == 1 && inputs && outputs &&
                        inputs[0] == vst3::SpeakerArr::kStereo && outputs[0] == vst3::SpeakerArr::kStereo;
    return stereo ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult Vst3Component::getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                               vst3::SpeakerArrangement& arr)
{
    if ((dir != vst3::kInput && dir != vst3::kOutput) || index != 0)
        return vst3::kInvalidArgument;
    arr = vst3::SpeakerArr::kStereo;
    return vst3::kResultTrue;
}

vst3::tresult Vst3Component::canProcessSampleSize(vst3::int32 symbolicSampleSize)
{
    return symbolicSampleSize == vst3::kSample32 || symbolicSampleSize == vst3::kSample64
               ? vst3::kResultTrue
               : vst3::kResultFalse;
}

vst3::uint32 Vst3Component::getLatencySamples()
{
    return 0;
}

vst3::uint32 Vst3Component::getTailSamples()
{
    // The tones go on without input: a host must not stop calling when its input falls silent.
    return vst3::kInfiniteTail;
}

vst3::uint32 Vst3Component::getProcessContextRequirements()
{
    using R = vst3::IProcessContextRequirements;
    return R::kNeedTempo | R::kNeedTransportState | R::kNeedProjectTimeMusic | R::kNeedTimeSignature;
}

vst3::tresult Vst3Component::setupProcessing(vst3::ProcessSetup& newSetup)
{
    // Active but not processing, the new setup replaces the one the plug-in was activated with (hosts
    // that activated first send theirs now); while blocks may come it would pull the buffers away.
    const Stage now = stage.load();
    if (now != Stage::kInitialized && now != Stage::kActive)
        return vst3::kResultFalse;
    if (!(newSetup.sampleRate > 0.0) || !std::isfinite(newSetup.sampleRate) ||
        newSetup.maxSamplesPerBlock <= 0 ||
        canProcessSampleSize(newSetup.symbolicSampleSize) != vst3::kResultTrue)
        return vst3::kInvalidArgument;
    PluginInstance& instance = *model.Instance();
    if (now == Stage::kActive && !instance.Activate(newSetup.sampleRate, newSetup.maxSamplesPerBlock))
    {
        instance.Activate(setup.sampleRate, setup.maxSamplesPerBlock); // back to the one in force
        return vst3::kResultFalse;
    }
    setup = newSetup;
    setupDone = true;
    return vst3::kResultOk;
}

vst3::tresult Vst3Component::setProcessing(vst3::TBool state)
{
    const Stage now = stage.load();
    if (state)
    {
        if (now != Stage::kActive)
            return vst3::kResultFalse;
        model.StartProcessing();
        stage.store(Stage::kProcessing);
        return vst3::kResultOk;
    }
    if (now != Stage::kProcessing)
        return vst3::kResultFalse;
    stage.store(Stage::kActive);
    model.StopProcessing();
    return vst3::kResultOk;
}

TransportSnapshot Vst3Component::ReadTransport(const vst3::ProcessContext* context)
{
    TransportSnapshot snapshot;
    if (!context)
        return snapshot;
    using C = vst3::ProcessContext;
    snapshot.available = true;
    snapshot.playing = (context->state & C::kPlaying) != 0;
    snapshot.recording = (context->state & C::kRecording) != 0;
    snapshot.tempoValid = (context->state & C::kTempoValid) != 0;
    snapshot.tempo = context->tempo;
    if (context->state & C::kProjectTimeMusicValid)
        snapshot.positionBeats = context->projectTimeMusic;
    snapshot.timeSignatureValid = (context->state & C::kTimeSigValid) != 0;
    snapshot.timeSigNumerator = context->timeSigNumerator;
    snapshot.timeSigDenominator = context->timeSigDenominator;
    return snapshot;
}

vst3::tresult Vst3Component::process(vst3::ProcessData& data)
{
    const Stage now = stage.load();
    if (data.numSamples == 0 && now != Stage::kCreated)
    {
        FlushChanges(data);
        model.ReportValues(data.outputParameterChanges);
        return vst3::kResultOk;
    }
    if (now != Stage::kProcessing)
        return vst3::kNotInitialized;
    if (data.numSamples < 0 || data.numOutputs < 1 || !data.outputs ||
        (data.symbolicSampleSize != vst3::kSample32 && data.symbolicSampleSize != vst3::kSample64))
        return vst3::kInvalidArgument;
    const Vst3Model::BlockScope scope(model, data.outputParameterChanges != nullptr);
    const TransportSnapshot transport = ReadTransport(data.processContext);
    if (data.symbolicSampleSize == vst3::kSample64)
        ProcessBlock<double>(data, transport);
    else
        ProcessBlock<float>(data, transport);
    model.ReportValues(data.outputParameterChanges);
    return vst3::kResultOk;
}

template <typename Sample>
void Vst3Component::ProcessBlock(vst3::ProcessData& data, const TransportSnapshot& transport)
{
    vst3::AudioBusBuffers& out = data.outputs[0];
    Sample** outChannels = ChannelsOf<Sample>(out);
    if (!outChannels)
        return;
    const vst3::AudioBusBuffers* in = data.numInputs >= 1 && data.inputs ? &data.inputs[0] : nullptr;
    Sample** inChannels = in ? ChannelsOf<Sample>(*in) : nullptr;
    const AudioBlock<Sample> block{inChannels, inChannels ? in->numChannels : 0, outChannels, out.numChannels,
                                   data.numSamples};

    PluginInstance& instance = *model.Instance();
    Vst3ChangeReader::ProgramPoint program;
    const std::span<const ParamChange> changes = model.TakeProgram(
        changeReader.Read(data.inputParameterChanges, instance, block.frames, program), program);

    // Pieces no longer than the block size the host announced, each with the changes that fall in it.
    const int most = std::max(setup.maxSamplesPerBlock, 1);
    std::size_t next = 0;
    for (int from = 0; from < block.frames; from += most)
    {
        const int frames = std::min(most, block.frames - from);
        const bool last = from + frames == block.frames;
        std::size_t end = next;
        while (end < changes.size() && (changes[end].offset < from + frames || last))
            ++end;
        if (from == 0 && last)
            instance.Process(block, transport, changes);
        else
        {
            for (std::size_t i = next; i < end; ++i)
                pieceChanges[i - next] = {changes[i].offset - from, changes[i].paramIdx, changes[i].value};
            const AudioBlockPart<Sample> part(block, from, frames);
            instance.Process(part.block, transport, std::span(pieceChanges.data(), end - next));
        }
        next = end;
    }
    out.silenceFlags = SilentChannels(outChannels, out.numChannels, block.frames);
}

void Vst3Component::FlushChanges(vst3::ProcessData& data)
{
    // A call without audio carries changes only: they apply at once, in their order.
    PluginInstance& instance = *model.Instance();
    Vst3ChangeReader::ProgramPoint program;
    for (const ParamChange& change :
         model.TakeProgram(flushReader.Read(data.inputParameterChanges, instance, 0, program), program))
        instance.SetParamValue(change.paramIdx, change.value);
}
} // namespace tpm
