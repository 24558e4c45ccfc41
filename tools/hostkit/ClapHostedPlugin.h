// The host side of one CLAP plug-in instance: created through the module's plug-in factory with a
// clap_host of our own, activated and processed with a transport and parameter events, asked for
// its parameters in its own units, its presets through preset discovery and preset-load, its state,
// and its editor in a parent window whose loop services the plug-in's timers and descriptors.
// What the plug-in sends back (gestures, values) is printed with --log-automation.
#pragma once

#include "formats/clap/ClapAbi.h"
#include "tools/hostkit/ClapEventBuffer.h"
#include "tools/hostkit/ClapHostServices.h"
#include "tools/hostkit/ClapModule.h"
#include "tools/hostkit/ClapPresetIndex.h"
#include "tools/hostkit/HostedPluginBase.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class ClapHostedPlugin : public HostedPluginBase
{
  public:
    // Loads the module and creates its first plug-in; null with a one-line reason in `error`.
    static std::unique_ptr<ClapHostedPlugin> Load(const std::string& modulePath, std::string& error,
                                                  const HostSettings& settings);
    ~ClapHostedPlugin() override;

    std::string Name() override;
    std::vector<std::string> DescribeIdentity() override;
    int InputCount() override { return MainChannels(true); }
    int OutputCount() override { return MainChannels(false); }

    void Configure(double sampleRate, int maxBlockFrames) override;
    bool Resume() override;
    void Suspend() override;
    void Close() override;

    int ParamCount() override { return static_cast<int>(params.size()); }
    std::string ParamName(int index) override;
    std::string ParamLabel(int index) override;
    std::string ParamDisplay(int index) override;
    bool Range(int index, ParamRange& range) override;
    double ParamNormalized(int index) override;
    void SetParamNormalized(int index, double normalized) override;
    bool SetParamText(int index, const std::string& text) override;
    std::string DisplayOfValue(int index, double value) override;
    // The value as it is, unrounded: a ramp passes between a stepped parameter's steps as
    // automation does in the other formats.
    void SetValueInUnits(int index, double value) override;
    // A value sent since the last block has not reached the plug-in yet: it is the one that counts.
    bool ValueInUnits(int index, double& value) override;
    HostedInstance* Spare() override;

    int ProgramCount() override;
    std::string ProgramName(int index) override;
    int CurrentProgram() override { return currentProgram; }
    bool SelectProgram(int index) override;

    bool SupportsDouble() override;
    void Process(float** inputs, float** outputs, int frames) override;
    void Process(double** inputs, double** outputs, int frames) override;

    bool SaveState(std::vector<uint8_t>& bytes) override;
    bool LoadState(const std::vector<uint8_t>& bytes) override;

    bool EditorSize(int& width, int& height) override;
    bool OpenEditor(void* parent) override;
    bool ResizeEditor(int& width, int& height) override;
    bool TakeEditorRequest(int& width, int& height) override
    {
        return services.TakeResizeRequest(width, height);
    }
    void EditorIdle() override;
    void CloseEditor() override;

    // A value in the plug-in's units for the next process call, `offset` frames into its block.
    void SetValueAt(int index, double value, uint32_t offset);

  private:
    ClapHostedPlugin(std::shared_ptr<ClapModule> module, const HostSettings& settings);
    bool Create(std::string& error);
    template <typename T> const T* Extension(const char* id) const;
    void ReadParams();
    int MainChannels(bool input);
    int IndexOf(clap_id id) const;
    template <typename Sample> void Run(Sample** inputs, Sample** outputs, int frames);
    void FillTransport(clap_event_transport_t& transport) const;
    // Main thread, not processing: hands queued values to params.flush and takes what comes back.
    void Flush();
    // Main thread: reports what the plug-in sent (with --log-automation).
    void ReportSent();
    void ServiceMainThread();

    std::shared_ptr<ClapModule> module;
    ClapHostServices services;
    ClapEventBuffer events;
    const clap_plugin_t* plugin = nullptr;
    const clap_plugin_params_t* paramsExt = nullptr;
    std::vector<clap_param_info_t> params;
    std::unique_ptr<ClapHostedPlugin> spare;
    bool presetsRead = false;
    std::vector<ClapPresetIndex::Preset> presets;
    int currentProgram = -1;
    double sampleRate = 44100.0;
    int maxBlock = 1024;
    bool active = false;
    // The last value sent to each parameter, and the block count when it was sent.
    std::vector<double> sentValues;
    std::vector<uint64_t> sentBeforeBlock;
    uint64_t blocksRun = 0;
    std::atomic<bool> processing{false}; // the audio thread sets it, the main thread reads it
    bool guiCreated = false;
    int64_t steadyTime = 0;
    // Ports beyond the main pair get buffers of their own (silence in, ignored out).
    struct PortBuffers
    {
        std::vector<std::vector<float>> floats;
        std::vector<std::vector<double>> doubles;
        std::vector<float*> floatPointers;
        std::vector<double*> doublePointers;
    };
    void AllocatePorts();
    std::vector<PortBuffers> inputPorts, outputPorts; // index 0 is the main port, filled per call
    std::vector<clap_audio_buffer_t> inputBuffers, outputBuffers;
};
} // namespace tpm
