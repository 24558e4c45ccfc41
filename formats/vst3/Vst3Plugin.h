// One instance of the plug-in for a VST3 host: a single object that is the audio component, its
// processor and, through its Vst3Controller, its edit controller. One reference count covers every
// interface it hands out; the object lives until the last is released, an open view's included.
// Calls in the wrong state answer an error and change nothing.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3ChangeReader.h"
#include "formats/vst3/Vst3Controller.h"
#include "plugin/PluginInstance.h"

#include <array>
#include <atomic>
#include <memory>
#include <thread>

class Vst3Plugin final : public vst3::IComponent,
                         public vst3::IAudioProcessor,
                         public vst3::IProcessContextRequirements,
                         private PluginInstance::IEventListener
{
  public:
    // A new plug-in holding one reference; null when it cannot be made.
    static Vst3Plugin* Create();
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;

    // FUnknown (shared by the controller and the view)
    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override;
    vst3::uint32 release() override;

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

    // For the controller and the view. Null until the first initialize.
    PluginInstance* Instance() const { return instance.get(); }
    Vst3Controller& Controller() { return controller; }
    bool OnMainThread() const { return std::this_thread::get_id() == mainThread; }
    // The main thread's turn (the view's timer, or a call that may have left work): selects a
    // program the host asked for in a block and tells the host what other threads queued for it.
    void MainThreadTick();
    // Main thread: selects the program a block asked for, if any. Calls nothing of the host's, so any
    // call the host makes on the main thread may take the turn: without an editor there is no other.
    void SelectRequestedProgram();
    // Any thread: blocks are running and the last one took output changes, so the next one tells the
    // host of values that changed.
    bool BlocksReportValues() const
    {
        return stage.load() == Stage::kProcessing && lastBlockTookOutput.load(std::memory_order_acquire);
    }
    // The state as the product saves it; false when there is none yet.
    bool SaveState(std::vector<uint8_t>& out);

  private:
    enum class Stage
    {
        kCreated,
        kInitialized,
        kActive,
        kProcessing,
    };

    Vst3Plugin();
    ~Vst3Plugin();
    // The controller side initializes too, and asks whether a call comes from inside a block.
    friend class Vst3Controller;
    // Makes the product instance on the first initialize, wherever the host calls it.
    bool EnsureInstance();
    template <typename Sample> void ProcessBlock(vst3::ProcessData& data, const TransportSnapshot& transport);
    void FlushChanges(vst3::ProcessData& data);
    // The block's changes that still apply once its program point is taken.
    std::span<const ParamChange> TakeProgram(std::span<const ParamChange> changes,
                                             const Vst3ChangeReader::ProgramPoint& program);
    // Every value as an output change, once after each time they changed together.
    void ReportValues(vst3::ProcessData& data);
    static TransportSnapshot ReadTransport(const vst3::ProcessContext* context);
    // Whether this thread is inside a process call.
    static bool InsideProcess();
    void HostEventsPending() override;

    std::atomic<vst3::uint32> refs{1};
    std::thread::id mainThread;
    std::unique_ptr<PluginInstance> instance;
    Vst3Controller controller;
    std::atomic<Stage> stage{Stage::kCreated};
    // What activation before any processing setup runs at, until the host's setup comes.
    static constexpr double kFallbackSampleRate = 44100.0;
    static constexpr vst3::int32 kFallbackMaxFrames = 1024;
    bool componentInitialized = false;
    bool setupDone = false;
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 0, 0.0};
    Vst3ChangeReader changeReader;
    // Calls without audio have a reader of their own: hosts make them from other threads too.
    Vst3ChangeReader flushReader;
    // A block longer than the announced maximum goes in pieces; their changes, moved to each piece.
    std::array<ParamChange, Vst3ChangeReader::kCapacity> pieceChanges{};
    // Whether the last block came with a list for output changes.
    std::atomic<bool> lastBlockTookOutput{false};
    // A program the host chose through the program parameter inside a block, for the main thread.
    std::atomic<int> requestedProgram{-1};
    // The controller's count of program selections as the processor last took it (blocks and calls
    // without audio may come from different threads).
    std::atomic<uint32_t> programSelectionsTaken{0};
};
