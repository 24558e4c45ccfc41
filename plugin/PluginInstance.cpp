#include "plugin/PluginInstance.h"

#include "plugin/ParameterTable.h"
#include "plugin/PluginFactory.h"
#include "plugin/StateContainer.h"
#include "plugin/TwinPulseToneMix.h"

#include <algorithm>
#include <type_traits>
#include <utility>

namespace tpm
{
std::unique_ptr<PluginInstance> PluginInstance::Create()
{
    return Adopt(CreatePlugin());
}

std::unique_ptr<PluginInstance> PluginInstance::Adopt(std::unique_ptr<TwinPulseToneMix> product)
{
    if (!product)
        return nullptr;
    return std::unique_ptr<PluginInstance>(new (std::nothrow) PluginInstance(std::move(product)));
}

PluginInstance::PluginInstance(std::unique_ptr<TwinPulseToneMix> plugin)
    : core(std::move(plugin)), programs(core->Programs())
{
    core->Host().SetLink(this);
    core->Open();
}

PluginInstance::~PluginInstance()
{
    core->Host().SetLink(nullptr);
}

int PluginInstance::ParamCount() const
{
    return core->Params().Count();
}

const Parameter* PluginInstance::Param(int paramIdx) const
{
    return std::as_const(*core).Params().Get(paramIdx);
}

const char* PluginInstance::ParamTitle(int paramIdx) const
{
    const Parameter* param = Param(paramIdx);
    if (!param)
        return "";
    const char* title = ParameterTitle(paramIdx);
    return title ? title : param->Name();
}

double PluginInstance::ParamValue(int paramIdx) const
{
    const Parameter* param = Param(paramIdx);
    return param ? param->Value() : 0.0;
}

double PluginInstance::ParamNormalized(int paramIdx) const
{
    const Parameter* param = Param(paramIdx);
    return param ? param->GetNormalized() : 0.0;
}

bool PluginInstance::FormatValue(int paramIdx, double value, char* out, std::size_t outSize) const
{
    const Parameter* param = Param(paramIdx);
    if (!param || !out || outSize == 0)
        return false;
    param->FormatDisplay(value, false, out, outSize);
    return true;
}

bool PluginInstance::ParseValue(int paramIdx, const char* text, double& out) const
{
    const Parameter* param = Param(paramIdx);
    return param && param->ParseEntry(text, out);
}

void PluginInstance::SetParamValue(int paramIdx, double value)
{
    core->Params().SetValue(paramIdx, value);
}

void PluginInstance::SetParamNormalized(int paramIdx, double normalized)
{
    core->Params().SetNormalized(paramIdx, normalized);
}

bool PluginInstance::SaveState(std::vector<uint8_t>& out)
{
    const std::span<const uint8_t> bank = programs.SaveChunk(ProgramList::ChunkKind::kBank);
    if (bank.empty())
        return false;
    return StateContainer::Wrap(bank, ParamCount(), programs.Current(), EditorScale(), out);
}

bool PluginInstance::LoadState(std::span<const uint8_t> data)
{
    std::span<const uint8_t> bank;
    int program = -1;
    double scale = 0.0;
    // A program that is no slot marks a damaged block, refused before anything changes.
    if (!StateContainer::Unwrap(data, ParamCount(), bank, program, scale) || program < -1 ||
        program >= programs.Count())
        return false;
    if (!programs.LoadChunk(ProgramList::ChunkKind::kBank, bank.data(), static_cast<int64_t>(bank.size())))
        return false;
    // The live values were saved in the current slot: selecting it brings them back.
    if (program >= 0 && program != programs.Current())
        programs.Select(program);
    SetEditorScale(scale);
    return true;
}

bool PluginInstance::Activate(double sampleRate, int maxFrames)
{
    if (!(sampleRate > 0.0) || maxFrames <= 0)
        return false;
    core->SetSampleRate(sampleRate);
    core->SetHostBlockSize(maxFrames);
    // Buffers stop at kMaxBlockFrames; longer blocks are processed in pieces.
    if (core->SampleRate() != sampleRate || core->BlockSize() < std::min(maxFrames, kMaxBlockFrames))
        return false;
    core->SetActive(true);
    core->SetAudioRunning(false);
    active = true;
    return true;
}

void PluginInstance::SetSampleRate(double rate)
{
    core->SetSampleRate(rate);
}

void PluginInstance::SetMaxFrames(int frames)
{
    core->SetHostBlockSize(frames);
}

void PluginInstance::SetSwitchedOn(bool on)
{
    core->SetActive(on);
}

int PluginInstance::BlockFrames() const
{
    return core->BlockSize();
}

PluginLock& PluginInstance::Lock()
{
    return core->Lock();
}

void PluginInstance::StartProcessing()
{
    core->SetAudioRunning(true);
}

void PluginInstance::StopProcessing()
{
    core->SetAudioRunning(false);
}

void PluginInstance::Deactivate()
{
    if (!active)
        return;
    core->SetActive(false);
    active = false;
}

std::unique_ptr<IEditorLink> PluginInstance::CreateEditor()
{
    return core->CreateEditor();
}

tpm::IEditorController* PluginInstance::Controller()
{
    return &core->EditorControl();
}

tpm::EditorDisplayState PluginInstance::DisplayState() const
{
    return core->EditorControl().DisplayState();
}

void PluginInstance::Reset()
{
    core->ResetEngine();
}

template <typename Sample>
void PluginInstance::Process(const AudioBlock<Sample>& block, ITransportSource& transport)
{
    transportSource = &transport;
    const int frames = std::max(block.frames, 0);
    // A whole stereo block is the core's own shape: no part to cut out of it.
    if (block.inputs && block.outputs && block.inputCount == 2 && block.outputCount == 2)
        Render(block.inputs, block.outputs, frames);
    else
        ProcessPiece(block, 0, frames);
    transportSource = nullptr;
}

template <typename Sample>
void PluginInstance::Process(const AudioBlock<Sample>& block, const TransportSnapshot& transport,
                             std::span<const ParamChange> changes)
{
    transportNow = transport;
    const int frames = std::max(block.frames, 0);
    // The block is cut at each change, so that every change is heard from its own frame on.
    int done = 0;
    for (const ParamChange& change : changes)
    {
        const int at = std::clamp(change.offset, done, frames);
        if (at > done)
            ProcessPiece(block, done, at - done);
        done = at;
        ApplyChange(change);
    }
    if (frames > done || frames == 0)
        ProcessPiece(block, done, frames - done);
}

template <typename Sample>
void PluginInstance::ProcessPiece(const AudioBlock<Sample>& block, int from, int frames)
{
    // The core takes a stereo pair, and reads its inputs through non-const pointers.
    AudioBlockPart<Sample> part(block, from, frames);
    Render(part.inputs.data(), part.outputs.data(), frames);
}

template <typename Sample>
void PluginInstance::Render(const Sample* const* stereoIn, Sample* const* stereoOut, int frames)
{
    // The core reads its inputs through non-const pointers, and changes neither array.
    Sample** inputs = const_cast<Sample**>(stereoIn);
    Sample** outputs = const_cast<Sample**>(stereoOut);
    if constexpr (std::is_same_v<Sample, float>)
        core->ProcessReplacing(inputs, outputs, frames);
    else
        core->ProcessDoubleReplacing(inputs, outputs, frames);
}

template void PluginInstance::Process(const AudioBlock<float>&, const TransportSnapshot&,
                                      std::span<const ParamChange>);
template void PluginInstance::Process(const AudioBlock<double>&, const TransportSnapshot&,
                                      std::span<const ParamChange>);
template void PluginInstance::Process(const AudioBlock<float>&, ITransportSource&);
template void PluginInstance::Process(const AudioBlock<double>&, ITransportSource&);

void PluginInstance::ApplyChange(const ParamChange& change)
{
    core->Params().SetValue(change.paramIdx, change.value);
}

void PluginInstance::Push(const HostEvent& event)
{
    events.Push(event);
    if (IEventListener* l = listener.load())
        l->HostEventsPending();
}

void PluginInstance::Automate(int paramIdx, double normalized)
{
    HostEvent event{HostEvent::Kind::kValue, paramIdx, normalized, 0.0};
    if (const Parameter* param = Param(paramIdx))
        event.value = param->Value();
    Push(event);
}

void PluginInstance::BeginEdit(int paramIdx)
{
    Push({HostEvent::Kind::kBeginEdit, paramIdx, 0.0, 0.0});
}

void PluginInstance::EndEdit(int paramIdx)
{
    Push({HostEvent::Kind::kEndEdit, paramIdx, 0.0, 0.0});
}

void PluginInstance::UpdateDisplay()
{
    Push({HostEvent::Kind::kDisplayChanged, 0, 0.0, 0.0});
}

TransportSnapshot PluginInstance::Transport(TransportNeeds needs)
{
    return transportSource ? transportSource->ReadTransport(needs) : transportNow;
}
} // namespace tpm
