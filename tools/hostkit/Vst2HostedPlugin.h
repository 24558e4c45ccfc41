// The host side of one VST 2.4 plug-in instance: creates it through the module's entry point, answers
// its callbacks (time, identity, automation) as a host would, and closes it again.
#pragma once

#include "tools/hostkit/HostedPluginBase.h"
#include "tools/hostkit/ModuleLibrary.h"
#include "tools/hostkit/PendingResize.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tpm
{
// One callback the plug-in made, as the host saw it.
struct HostCall
{
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

class Vst2HostedPlugin : public HostedPluginBase
{
  public:
    static std::unique_ptr<Vst2HostedPlugin> Load(const std::string& modulePath, std::string& error,
                                                  const HostSettings& settings = {});
    // For hosts that link the plug-in in: the entry point is given directly.
    static std::unique_ptr<Vst2HostedPlugin> Create(VstEntryProc entry, std::string& error,
                                                    const HostSettings& settings = {});
    ~Vst2HostedPlugin() override;

    AEffect* Effect() { return effect; }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // effOpen, then sample rate, block size and switching on, as hosts do before processing.
    void Start();
    // Closes the instance (effClose); later calls do nothing.
    void Close() override;

    std::string ParamName(int index) override;
    std::string ParamLabel(int index) override;
    std::string ParamDisplay(int index) override;
    std::string ProgramName(int index) override;
    // Sets a parameter from its display text (through effString2Parameter); false if refused.
    bool SetParamText(int index, const std::string& text) override;
    int FindParam(const std::string& name);

    // A second, opened instance from the same entry point, for questions whose asking changes
    // parameters (what each value displays as); this instance is left as it is. Null if refused.
    Vst2HostedPlugin* Spare() override;

    // Moves the transport on by a block, as a host does between process calls.

    // The format-neutral face, through the dispatcher and the AEffect's callbacks.
    Vst2HostedPlugin* Vst2() override { return this; }
    std::string Name() override;
    std::vector<std::string> DescribeIdentity() override;
    int InputCount() override { return effect ? effect->numInputs : 0; }
    int OutputCount() override { return effect ? effect->numOutputs : 0; }
    void Open() override;
    void Configure(double sampleRate, int maxBlockFrames) override;
    bool Resume() override;
    void Suspend() override;
    int ParamCount() override { return effect ? effect->numParams : 0; }
    bool Range(int, ParamRange&) override { return false; }
    double ParamNormalized(int index) override;
    void SetParamNormalized(int index, double normalized) override;
    std::string DisplayOfValue(int, double) override { return {}; }
    int ProgramCount() override { return effect ? effect->numPrograms : 0; }
    int CurrentProgram() override;
    std::string CurrentProgramName() override;
    bool SelectProgram(int index) override;
    bool SupportsDouble() override;
    void Process(float** inputs, float** outputs, int frames) override;
    void Process(double** inputs, double** outputs, int frames) override;
    // Through the plug-in's vendor requests (two-valued, display of a value, text to value), as
    // schedules have always driven VST2 modules.
    bool UnitsOfNormalized(int index, double normalized, double& value) override;
    bool ValueInUnits(int index, double& value) override;
    void SetValueInUnits(int index, double value) override;
    // As a speaker arrangement, mono or stereo on both sides.
    void WireChannels(int channels) override;
    bool SaveState(std::vector<uint8_t>& bytes) override;
    bool LoadState(const std::vector<uint8_t>& bytes) override;
    bool EditorSize(int& width, int& height) override;
    bool OpenEditor(void* parent) override;
    // VST2 has no way to tell an editor a scale: the system's setting (GDK_SCALE) stands in for it.
    void SetEditorScale(double scale) override;
    // audioMasterSizeWindow, granted.
    bool TakeEditorRequest(int& width, int& height) override;
    void EditorIdle() override;
    void CloseEditor() override;
    std::vector<HostCall> Calls() const;
    void ClearCalls();
    int CountCalls(int32_t opcode) const;

  private:
    Vst2HostedPlugin() = default;
    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt);
    intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    std::unique_ptr<ModuleLibrary> library;
    VstEntryProc entry = nullptr;
    std::unique_ptr<Vst2HostedPlugin> spare; // closed before the library is let go
    AEffect* effect = nullptr;
    VstTimeInfo timeInfo{};
    mutable std::mutex callsMutex;
    std::vector<HostCall> calls;
    PendingResize editorRequest; // the editor's last audioMasterSizeWindow, until taken
};
} // namespace tpm
