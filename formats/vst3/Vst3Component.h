// The audio component and processor face of the plug-in object: lifecycle, buses, state and the
// process call with its parameter points and transport. It works on the shared Vst3Model and knows
// nothing of the other faces. Calls in the wrong state answer an error and change nothing.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3ChangeReader.h"
#include "formats/vst3/Vst3Model.h"

#include <array>
#include <atomic>

namespace tpm
{
class Vst3Component : public vst3::IComponent,
                      public vst3::IAudioProcessor,
                      public vst3::IProcessContextRequirements
{
  public:
    Vst3Component(const Vst3Component&) = delete;
    Vst3Component& operator=(const Vst3Component&) = delete;

    // IPluginBase through IComponent
    vst3::tresult initialize(vst3::FUnknown* context) override;
    vst3::tresult terminate() override;

    // IComponent
    vst3::tresult getControllerClassId(vst3::TUID classId) override;
    vst3::tresult setIoMode(vst3::IoMode mode) override;
    vst3::int32 getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
    vst3::tresult getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                             vst3::BusInfo& bus) override;
    vst3::tresult getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo) override;
    vst3::tresult activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                              vst3::TBool state) override;
    vst3::tresult setActive(vst3::TBool state) override;
    vst3::tresult setState(vst3::IBStream* state) override;
    vst3::tresult getState(vst3::IBStream* state) override;

    // IAudioProcessor
    vst3::tresult setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                     vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) override;
    vst3::tresult getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                    vst3::SpeakerArrangement& arr) override;
    vst3::tresult canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
    vst3::uint32 getLatencySamples() override;
    vst3::tresult setupProcessing(vst3::ProcessSetup& setup) override;
    vst3::tresult setProcessing(vst3::TBool state) override;
    vst3::tresult process(vst3::ProcessData& data) override;
    vst3::uint32 getTailSamples() override;

    // IProcessContextRequirements
    vst3::uint32 getProcessContextRequirements() override;

  protected:
    explicit Vst3Component(Vst3Model& model) : model(model) {}
    ~Vst3Component() = default;

  private:
    enum class Stage
    {
        kCreated,
        kInitialized,
        kActive,
        kProcessing,
    };

    template <typename Sample> void ProcessBlock(vst3::ProcessData& data, const TransportSnapshot& transport);
    void FlushChanges(vst3::ProcessData& data);
    static TransportSnapshot ReadTransport(const vst3::ProcessContext* context);

    Vst3Model& model;
    std::atomic<Stage> stage{Stage::kCreated};
    // What activation before any processing setup runs at, until the host's setup comes.
    static constexpr double kFallbackSampleRate = 44100.0;
    static constexpr vst3::int32 kFallbackMaxFrames = 1024;
    bool initialized = false;
    bool setupDone = false;
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 0, 0.0};
    Vst3ChangeReader changeReader;
    // Calls without audio have a reader of their own: hosts make them from other threads too.
    Vst3ChangeReader flushReader;
    // A block longer than the announced maximum goes in pieces; their changes, moved to each piece.
    std::array<ParamChange, Vst3ChangeReader::kCapacity> pieceChanges{};
};
} // namespace tpm
