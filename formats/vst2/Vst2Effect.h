// The VST 2.4 binding of a plug-in instance: owns the product's instance and its editor, holds the
// effect record the host sees, turns the host's requests into instance and editor operations, and
// carries the instance's events back to the host as audioMaster calls.
#pragma once

#include "formats/vst2/Vst2Channels.h"
#include "formats/vst2/VstAbi.h"
#include "plugin/PluginInstance.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace tpm
{
class Vst2Effect final : private PluginInstance::IEventListener,
                         private PluginInstance::ITransportSource,
                         private IEditorLink::IResizeRequest
{
  public:
    Vst2Effect(audioMasterCallback host, std::unique_ptr<PluginInstance> product);
    ~Vst2Effect();
    Vst2Effect(const Vst2Effect&) = delete;
    Vst2Effect& operator=(const Vst2Effect&) = delete;

    // What the entry point does: wraps a new instance and hands out its effect record (null when
    // there is no instance).
    static AEffect* Create(audioMasterCallback host, std::unique_ptr<PluginInstance> product);
    static Vst2Effect* FromEffect(AEffect* e);
    AEffect* GetEffect() { return &effect; }
    PluginInstance& Instance() { return *instance; }
    // The replacing calls: the host's wired buffers onto the product's channels.
    template <typename Sample> void ProcessReplacing(Sample** inputs, Sample** outputs, int frames);
    // The accumulating process call: the plug-in's output is added to what the host's buffers hold.
    void ProcessAccumulating(float** inputs, float** outputs, int frames);
    void SetParameter(int paramIdx, float normalized);
    // The plug-in's editor, or null when it has none.
    IEditorLink* Editor() { return editor.get(); }

    // The host's calls, as the record's callbacks pass them on.
    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    // effClose: waits for calls still inside, then frees the instance.
    static void Close(AEffect* e);
    // Counts a host call in, unless the instance is closing; calls that got in keep it alive.
    bool Enter();
    void Leave() { callsInside.fetch_sub(1); }
    // The host table's code for this host, asked once and kept. Not to be called under the plug-in
    // lock before the first answer is in (effOpen asks before taking it).
    int HostCode();

  private:
    // Requests that run under the plug-in lock.
    VstIntPtr DispatchLocked(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    VstIntPtr DispatchVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    VstIntPtr CanDo(const char* text) const;
    VstIntPtr PinProperties(bool input, VstInt32 index, void* ptr) const;
    void SetSpeakerArrangement(Vst2Channels::Side side, const VstSpeakerArrangement* arrangement);
    VstIntPtr GetChunk(bool isBank, void* ptr);
    void Open();
    // Rewires the channels for hosts that need it, once.
    void PrepareForHost();
    void RefreshEditorRect();
    // The system's scale, read once for each opening of the editor: VST2 hosts tell none.
    void TakeSystemScale();
    bool OpenEditor(void* parent);
    // The editor's grip: the host resizes its window (audioMasterSizeWindow) before the editor follows.
    bool RequestSize(int width, int height) override;
    bool CloseEditor();

    // The instance's events as audioMaster calls, on the thread that queued them, right after the
    // request (or at the end of the block) that did.
    void HostEventsPending() override;
    void SendHostEvent(const HostEvent& event);
    // The host's time information, asked once per thing the product reads in the block.
    TransportSnapshot ReadTransport(Needs needs) override;
    VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);

    audioMasterCallback hostCallback = nullptr;
    std::unique_ptr<PluginInstance> instance;
    // Declared after the instance, so that it goes first: the editor calls into the product.
    std::unique_ptr<IEditorLink> editor;
    AEffect effect{};
    Vst2Channels channels;
    VstSpeakerArrangement inputArrangement{};
    VstSpeakerArrangement outputArrangement{};
    ERect editorRect{};
    // Where the accumulating call renders before adding, one buffer per output channel, made once.
    static constexpr int kAccumulateFrames = 8192;
    std::vector<std::vector<float>> accumulateBuffers;
    std::atomic<int> callsInside{0};
    std::atomic<bool> closing{false};
    // One thread sends the events at a time; another that finds it busy leaves its events to it.
    std::atomic<bool> sendingEvents{false};
    // A mutex of its own, never the plug-in lock: the host is called while it is held.
    std::mutex hostCodeMutex;
    std::atomic<int32_t> hostCode{-1};
    std::atomic<int32_t> hostVersion{0}; // packed major << 16 | minor << 8 | patch
    std::atomic<bool> hostPrepared{false};
    bool systemScaleTaken = false; // for the editor's opening to come or open now
    double scaleApplied = 1.0;     // the editor's scale as this binding last left it
};
} // namespace tpm
