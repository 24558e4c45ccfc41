#include "formats/vst2/Vst2Effect.h"

#include "editor/EditorSize.h"
#include "editor/IWindowLayer.h"
#include "formats/vst2/Vst2Identity.h"

#include "formats/vst2/HostTable.h"

#include <algorithm>
#include <array>
#include <thread>

namespace tpm
{
namespace
{
// Keeps an instance alive for the length of one host call; see Vst2Effect::Close.
class CallScope
{
  public:
    explicit CallScope(AEffect* e) : plug(Vst2Effect::FromEffect(e))
    {
        if (plug && !plug->Enter())
            plug = nullptr;
    }
    ~CallScope()
    {
        if (plug)
            plug->Leave();
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    Vst2Effect* get() const { return plug; }

  private:
    Vst2Effect* plug;
};

VstIntPtr DispatcherCallback(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt)
{
    if (opcode == vst::effClose)
    {
        Vst2Effect::Close(e);
        return 0;
    }
    CallScope scope(e);
    return scope.get() ? scope.get()->Dispatch(opcode, index, value, ptr, opt) : 0;
}

void ProcessCallback(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    CallScope scope(e);
    if (scope.get())
        scope.get()->ProcessAccumulating(inputs, outputs, frames);
}

void ProcessReplacingCallback(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    CallScope scope(e);
    if (scope.get())
        scope.get()->ProcessReplacing(inputs, outputs, frames);
}

void ProcessDoubleReplacingCallback(AEffect* e, double** inputs, double** outputs, VstInt32 frames)
{
    CallScope scope(e);
    if (scope.get())
        scope.get()->ProcessReplacing(inputs, outputs, frames);
}

void SetParameterCallback(AEffect* e, VstInt32 index, float value)
{
    CallScope scope(e);
    if (scope.get())
        scope.get()->SetParameter(index, value);
}

float GetParameterCallback(AEffect* e, VstInt32 index)
{
    CallScope scope(e);
    return scope.get() ? static_cast<float>(scope.get()->Instance().ParamNormalized(index)) : 0.0f;
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

// The version as hosts show it: major × 10000 + minor × 100 + patch.
VstInt32 DecimalVersion(int32_t packed)
{
    return (packed >> 16) * 10000 + ((packed >> 8) & 0xFF) * 100 + (packed & 0xFF);
}
} // namespace

Vst2Effect::Vst2Effect(audioMasterCallback host, std::unique_ptr<PluginInstance> product)
    : hostCallback(host), instance(std::move(product)), editor(instance->CreateEditor())
{
    PluginInstance& p = *instance;
    const int inputs = Vst2Channels::Count();
    const int outputs = Vst2Channels::Count();
    effect.magic = vst::kEffectMagic;
    effect.dispatcher = DispatcherCallback;
    effect.process = ProcessCallback;
    effect.setParameter = SetParameterCallback;
    effect.getParameter = GetParameterCallback;
    effect.processReplacing = ProcessReplacingCallback;
    effect.processDoubleReplacing = ProcessDoubleReplacingCallback;
    effect.numPrograms = std::max(p.Programs().Count(), 1);
    effect.numParams = p.ParamCount();
    effect.numInputs = inputs;
    effect.numOutputs = outputs;
    effect.flags = vst::effFlagsCanReplacing | vst::effFlagsCanDoubleReplacing;
    if (Vst2Channels::CanMono())
        effect.flags |= vst::effFlagsCanMono;
    if (editor)
        effect.flags |= vst::effFlagsHasEditor;
    effect.initialDelay = vst2identity::kLatency;
    effect.ioRatio = 1.0f;
    effect.object = this;
    effect.uniqueID = vst2identity::kUniqueId;
    effect.version = DecimalVersion(vst2identity::kVersion);

    inputArrangement.numChannels = inputs;
    inputArrangement.type = ArrangementType(inputs);
    outputArrangement.numChannels = outputs;
    outputArrangement.type = ArrangementType(outputs);
    RefreshEditorRect();
    accumulateBuffers.assign(static_cast<std::size_t>(outputs), std::vector<float>(kAccumulateFrames));
    p.SetEventListener(this);
}

template <typename Sample> void Vst2Effect::ProcessReplacing(Sample** inputs, Sample** outputs, int frames)
{
    if (inputs && outputs && channels.AllWired())
    {
        instance->Process(AudioBlock<Sample>{inputs, 2, outputs, 2, frames}, *this);
        return;
    }
    const auto in = channels.Route(Vst2Channels::Side::kInput, inputs, 0);
    const auto out = channels.Route(Vst2Channels::Side::kOutput, outputs, 0);
    instance->Process(AudioBlock<Sample>{in.data(), 2, out.data(), 2, frames}, *this);
}

template void Vst2Effect::ProcessReplacing(float** inputs, float** outputs, int frames);
template void Vst2Effect::ProcessReplacing(double** inputs, double** outputs, int frames);

void Vst2Effect::ProcessAccumulating(float** inputs, float** outputs, int frames)
{
    // Pieces are whole multiples of the product's block, so it cuts the call where it always did.
    const int block = instance->BlockFrames();
    const int piece =
        block > 0 && block <= kAccumulateFrames ? kAccumulateFrames / block * block : kAccumulateFrames;
    int done = 0;
    do
    {
        const int n = frames <= 0 ? frames : std::min(piece, frames - done);
        const auto in = channels.Route(Vst2Channels::Side::kInput, inputs, done);
        std::array<float*, 2> rendered{};
        for (std::size_t c = 0; c < rendered.size(); ++c)
        {
            // Zeroed first: a wired channel the product leaves alone adds nothing.
            rendered[c] = accumulateBuffers[c].data();
            std::fill_n(rendered[c], std::max(n, 0), 0.0f);
        }
        // Only wired outputs get rendered and added, each onto its own host buffer.
        const auto out = channels.Route(Vst2Channels::Side::kOutput, outputs, done);
        for (std::size_t c = 0; c < rendered.size(); ++c)
            if (!channels.Connected(Vst2Channels::Side::kOutput, static_cast<int>(c)))
                rendered[c] = nullptr;
        instance->Process(AudioBlock<float>{in.data(), 2, rendered.data(), 2, n}, *this);
        for (std::size_t c = 0; c < rendered.size(); ++c)
            if (out[c] && rendered[c])
                for (int i = 0; i < n; ++i)
                    out[c][i] += rendered[c][static_cast<std::size_t>(i)];
        done += std::max(n, 1);
    } while (done < frames);
}

void Vst2Effect::SetParameter(int paramIdx, float normalized)
{
    instance->SetParamNormalized(paramIdx, normalized);
}

Vst2Effect::~Vst2Effect()
{
    // The editor goes first, while what it says on closing still reaches the host.
    editor.reset();
    instance->SetEventListener(nullptr);
}

AEffect* Vst2Effect::Create(audioMasterCallback host, std::unique_ptr<PluginInstance> product)
{
    if (!product)
        return nullptr;
    auto* binding = new Vst2Effect(host, std::move(product));
    return binding->GetEffect();
}

Vst2Effect* Vst2Effect::FromEffect(AEffect* e)
{
    return e ? static_cast<Vst2Effect*>(e->object) : nullptr;
}

bool Vst2Effect::Enter()
{
    callsInside.fetch_add(1);
    if (!closing.load())
        return true;
    Leave();
    return false;
}

void Vst2Effect::Close(AEffect* e)
{
    // The host guarantees that effClose comes after every other call on this instance has
    // returned, and that it makes none afterwards. Should one still be inside (processing,
    // waiting for the plug-in lock, or holding it), freeing the instance now would pull the lock
    // and the buffers from under it: so new calls are turned away from here on, and the ones
    // inside are waited for. A call the host makes after this returns cannot be caught: the
    // record it passes is gone with the instance.
    Vst2Effect* plug = FromEffect(e);
    if (!plug || plug->closing.exchange(true))
        return;
    while (plug->callsInside.load() > 0)
        std::this_thread::yield();
    e->object = nullptr;
    delete plug;
}

void Vst2Effect::RefreshEditorRect()
{
    if (!editor)
        return;
    editorRect.top = 0;
    editorRect.left = 0;
    editorRect.bottom = static_cast<VstInt16>(editor->Height());
    editorRect.right = static_cast<VstInt16>(editor->Width());
}

void Vst2Effect::TakeSystemScale()
{
    if (!editor)
        return;
    // A scale someone set on the editor directly (the preview tool) stands.
    if (!systemScaleTaken && editor->Scale() == scaleApplied)
        editor->SetScale(tpm::SystemEditorScale());
    systemScaleTaken = true;
    scaleApplied = editor->Scale();
    RefreshEditorRect();
}

bool Vst2Effect::RequestSize(int width, int height)
{
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    if (!editor || CallHost(vst::audioMasterSizeWindow, fit.width, fit.height) == 0)
        return false;
    editor->SetScale(fit.scale);
    scaleApplied = editor->Scale();
    RefreshEditorRect();
    return true;
}

bool Vst2Effect::OpenEditor(void* parent)
{
    if (!editor)
        return false;
    TakeSystemScale();
    // The grip only where the host can resize the window the editor lives in.
    const bool hostSizes = CallHost(vst::audioMasterCanDo, 0, 0, const_cast<char*>("sizeWindow")) > 0;
    editor->SetResizeRequest(hostSizes ? this : nullptr);
    // This host gives editor windows no keyboard focus of their own unless they take it.
    const bool takeFocus = static_cast<HostId>(HostCode()) == HostId::kAcoustica;
    if (!editor->OpenWindow(parent, takeFocus))
        return false;
    return true;
}

bool Vst2Effect::CloseEditor()
{
    if (!editor)
        return false;
    editor->CloseWindow();
    systemScaleTaken = false;
    return true;
}

void Vst2Effect::Open()
{
    HostCode(); // asks the host now, while we hold nothing
    PrepareForHost();
    // The instance was opened as it was made. Hosts with channel quirks may have rewired the
    // channels: report what is there.
    inputArrangement.numChannels = effect.numInputs = Vst2Channels::Count();
    outputArrangement.numChannels = effect.numOutputs = Vst2Channels::Count();
    // Anything the instance said while it was made and nobody listened goes out now.
    HostEventsPending();
}
} // namespace tpm
