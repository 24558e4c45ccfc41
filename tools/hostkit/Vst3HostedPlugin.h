// The host side of one VST3 plug-in: its component made through the module's factory and
// initialised with our host context, its edit controller (the component itself, or a separate class
// connected to it), parameters and programs (the program list behind the program-change parameter)
// read from the controller, processing with a process context and sample-accurate parameter changes,
// state through memory streams, and the editor view in a parent window whose loop serves the run loop.
// What the controller reports (edits) is printed with --log-automation.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "tools/hostkit/HostedPluginBase.h"
#include "tools/hostkit/Vst3ChangeBuffer.h"
#include "tools/hostkit/Vst3HostServices.h"
#include "tools/hostkit/Vst3Module.h"

#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class Vst3HostedPlugin : public HostedPluginBase
{
  public:
    // Loads the module and creates its first audio module class; null with a one-line reason in `error`.
    static std::unique_ptr<Vst3HostedPlugin> Load(const std::string& modulePath, std::string& error,
                                                  const HostSettings& settings);
    ~Vst3HostedPlugin() override;

    std::string Name() override { return classInfo.name; }
    std::vector<std::string> DescribeIdentity() override;
    int InputCount() override { return MainChannels(vst3::kInput); }
    int OutputCount() override { return MainChannels(vst3::kOutput); }

    void Configure(double sampleRate, int maxBlockFrames) override;
    bool Resume() override;
    void Suspend() override;
    void Close() override;

    int ParamCount() override { return static_cast<int>(params.size()); }
    std::string ParamName(int index) override;
    std::string ParamLabel(int index) override;
    std::string ParamDisplay(int index) override;
    // VST3 states no units of its own beyond normalised values: ranges are learnt from the texts.
    bool Range(int, ParamRange&) override { return false; }
    double ParamNormalized(int index) override;
    void SetParamNormalized(int index, double normalized) override;
    bool SetParamText(int index, const std::string& text) override;
    std::string DisplayOfValue(int, double) override { return {}; }
    // Through the controller's own mapping between normalised and plain values; lists and
    // two-valued parameters switch.
    bool UnitsOfNormalized(int index, double normalized, double& value) override;
    bool ValueInUnits(int index, double& value) override;
    void SetValueInUnits(int index, double value) override;
    HostedInstance* Spare() override;

    int ProgramCount() override { return static_cast<int>(programs.size()); }
    std::string ProgramName(int index) override;
    int CurrentProgram() override;
    bool SelectProgram(int index) override;

    bool SupportsDouble() override;
    void Process(float** inputs, float** outputs, int frames) override;
    void Process(double** inputs, double** outputs, int frames) override;

    // The component's state (what a project keeps of the processor), and back to both halves.
    bool SaveState(std::vector<uint8_t>& bytes) override;
    bool LoadState(const std::vector<uint8_t>& bytes) override;

    bool EditorSize(int& width, int& height) override;
    bool OpenEditor(void* parent) override;
    bool ResizeEditor(int& width, int& height) override;
    bool TakeEditorRequest(int& width, int& height) override;
    void EditorIdle() override;
    void CloseEditor() override;

    // A normalised value for the next process call, `offset` frames into its block; the controller
    // shows it at once, or for a point inside the block after that block (on the main thread).
    void SetNormalizedAt(int index, double normalized, int offset);
    // The host as the plug-in sees it (edits made outside the user-interface thread).
    const Vst3HostServices& Services() const { return *services; }

  private:
    Vst3HostedPlugin(std::shared_ptr<Vst3Module> module, const HostSettings& settings);
    bool Create(std::string& error);
    bool CreateController(std::string& error);
    void ReadParams();
    void ReadPrograms();
    int IndexOf(vst3::ParamID id) const;
    int MainChannels(vst3::BusDirection direction);
    bool Setup(vst3::int32 sampleSize);
    bool StartProcessing(vst3::int32 sampleSize);
    void StopProcessing();
    void AllocateBuses();
    void FillContext();
    template <typename Sample> void Run(Sample** inputs, Sample** outputs, int frames);
    // Before the processor is resumed: hands waiting changes to it in a call of no frames, as hosts
    // flush parameters.
    void DeliverQueued();
    // Main thread: reports what the processor sent (with --log-automation).
    void ReportSent();
    // Main thread, after a block: tells the controller the values sent inside it.
    void FollowUpController();

    std::shared_ptr<Vst3Module> module;
    Vst3HostServices* services = nullptr; // one reference, dropped at destruction
    Vst3ChangeBuffer changes;
    vst3::PClassInfo2 classInfo{};
    vst3::IComponent* component = nullptr;
    vst3::IAudioProcessor* processor = nullptr;
    vst3::IEditController* controller = nullptr;
    vst3::IConnectionPoint* componentPoint = nullptr;
    vst3::IConnectionPoint* controllerPoint = nullptr;
    bool separateController = false;
    vst3::IPlugView* view = nullptr;
    bool viewAttached = false;
    std::vector<vst3::ParameterInfo> params; // without the program-change parameter
    std::vector<std::pair<vst3::ParamID, vst3::ParamValue>> controllerFollowUps;
    vst3::ParameterInfo programParam{};
    bool hasProgramParam = false;
    std::vector<std::string> programs;
    std::unique_ptr<Vst3HostedPlugin> spare;
    double sampleRate = 44100.0;
    int maxBlock = 1024;
    bool active = false;
    vst3::int32 sampleSize = vst3::kSample32;
    vst3::int64 continuousSamples = 0;
    vst3::ProcessContext context{};
    // Every bus gets buffers; the main ones take the caller's channels, the others silence.
    struct Bus
    {
        vst3::AudioBusBuffers buffers{};
        std::vector<std::vector<float>> floats;
        std::vector<std::vector<double>> doubles;
        std::vector<float*> floatPointers;
        std::vector<double*> doublePointers;
    };
    std::vector<Bus> inputBuses, outputBuses;
    std::vector<vst3::AudioBusBuffers> inputViews, outputViews;
};
} // namespace tpm
