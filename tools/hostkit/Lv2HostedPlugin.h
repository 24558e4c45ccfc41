// The host side of one LV2 plug-in: its bundle read through lilv, the instance made with our URI map and
// block bound, control ports as parameters (ranges, units and lists from the bundle's data), presets as
// programs, the transport sent as time:Position on the event port before each block, and the state
// interface for the plug-in's state, and its X11 editor, which talks to the plug-in through the ports.
#pragma once

#include "tools/hostkit/HostedPluginBase.h"
#include "tools/hostkit/Lv2EditorHost.h"
#include "tools/hostkit/Lv2PositionWriter.h"
#include "tools/hostkit/Lv2UridMap.h"

#include <lilv/lilv.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tpm
{
class Lv2HostedPlugin : public HostedPluginBase
{
  public:
    // Loads the bundle folder's first plug-in; null with a one-line reason in `error`.
    static std::unique_ptr<Lv2HostedPlugin> Load(const std::string& bundlePath, std::string& error,
                                                 const HostSettings& settings);
    ~Lv2HostedPlugin() override;

    std::string Name() override;
    std::vector<std::string> DescribeIdentity() override;
    int InputCount() override { return static_cast<int>(audioIn.size()); }
    int OutputCount() override { return static_cast<int>(audioOut.size()); }

    void Configure(double sampleRate, int maxBlockFrames) override;
    bool Resume() override;
    void Suspend() override;
    void Close() override;

    int ParamCount() override { return static_cast<int>(controls.size()); }
    std::string ParamName(int index) override;
    std::string ParamLabel(int index) override;
    std::string ParamDisplay(int index) override;
    bool Range(int index, ParamRange& range) override;
    double ParamNormalized(int index) override;
    void SetParamNormalized(int index, double normalized) override;
    bool SetParamText(int index, const std::string& text) override;
    std::string DisplayOfValue(int index, double value) override;
    HostedInstance* Spare() override;

    int ProgramCount() override { return static_cast<int>(presets.size()); }
    std::string ProgramName(int index) override;
    int CurrentProgram() override { return currentProgram; }
    bool SelectProgram(int index) override;

    bool SupportsDouble() override { return false; }
    void Process(float** inputs, float** outputs, int frames) override;
    void Process(double** inputs, double** outputs, int frames) override;

    bool SaveState(std::vector<uint8_t>& bytes) override;
    bool LoadState(const std::vector<uint8_t>& bytes) override;
    // The ports follow the bank's current slot, as a host restores them with a state: the plug-in
    // takes a port that differs from the restored sound as the newer word.
    bool LoadBank(const std::vector<uint8_t>& bank, int currentProgram) override;
    // The bank with what the ports say over the slot they play (the preset last chosen through them,
    // else the plug-in's current one), as the plug-in takes them at its next block.
    bool SaveBank(std::vector<uint8_t>& bank, int& currentProgram) override;

    bool EditorSize(int& width, int& height) override;
    bool OpenEditor(void* parent) override;
    bool ResizeEditor(int& width, int& height) override;
    bool TakeEditorRequest(int& width, int& height) override;
    void EditorIdle() override;
    void CloseEditor() override { editor.reset(); }

  private:
    // A float the main and editor threads set while the audio thread reads it; copyable, so that
    // controls can sit in a vector.
    class SharedFloat
    {
      public:
        SharedFloat() = default;
        SharedFloat(const SharedFloat& other) : value(other) {}
        SharedFloat& operator=(const SharedFloat& other) { return *this = static_cast<float>(other); }
        SharedFloat& operator=(float newValue)
        {
            value.store(newValue, std::memory_order_relaxed);
            return *this;
        }
        operator float() const { return value.load(std::memory_order_relaxed); }

      private:
        std::atomic<float> value{0.0f};
    };
    struct Control
    {
        uint32_t port = 0;
        std::string name, symbol, unit;
        ParamRange range;
        std::vector<std::pair<float, std::string>> points; // value order
        SharedFloat value;
        // What the port reads: the audio thread copies value here before each block, so the plug-in
        // never sees a value change in the middle of one.
        float portValue = 0.0f;
    };
    struct Preset
    {
        std::string uri, name;
    };
    struct WorldDeleter
    {
        void operator()(LilvWorld* world) const;
    };

    Lv2HostedPlugin(const std::string& bundlePath, const HostSettings& settings);
    bool Read(std::string& error);
    bool Instantiate(std::string& error);
    void ResetOutputValues();
    void ReadPresets();
    Lv2Position PositionNow() const;
    // Whether the plug-in would work out another position than `now` from the one it was last told.
    bool PositionMoved(const Lv2Position& now) const;
    // The plug-in's own state, without the control ports the host keeps beside it.
    bool SavePluginState(std::vector<uint8_t>& bytes);
    bool LoadPluginState(const std::vector<uint8_t>& bytes);
    const LV2_State_Interface* StateInterface() const;
    void EditorWrite(uint32_t port, float value);
    // An atom from the editor, for the plug-in's event port at the next block.
    void EditorEvent(const LV2_Atom& atom);
    void EditorTouch(uint32_t port, bool grabbed) const;
    static void SetPortValue(const char* symbol, void* self, const void* value, uint32_t size, uint32_t type);

    std::string bundle;
    std::shared_ptr<LilvWorld> world; // shared with the spare instance, whose description it holds
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    Lv2UridMap map;
    std::unique_ptr<Lv2PositionWriter> events;
    // The position the plug-in was last told, and the frames it has run since: it rolls on by itself.
    Lv2Position told;
    int64_t framesSinceTold = 0;
    bool positionTold = false;
    // The editor's atoms, one after another with their headers, until a block takes them.
    std::mutex editorEventsMutex;
    std::vector<uint8_t> editorEvents;
    int32_t maxBlockValue = 4096;
    std::array<LV2_Options_Option, 2> options{};
    std::vector<Control> controls;
    std::vector<uint32_t> audioIn, audioOut;
    std::vector<uint32_t> eventIns;
    std::vector<std::vector<float>> otherOutputs; // control outputs, read by nobody
    std::vector<std::pair<uint32_t, std::size_t>> otherOutputPorts;
    std::vector<std::pair<uint32_t, std::size_t>> controlOutputs; // of otherOutputPorts, the control ports
    std::vector<Preset> presets;
    bool presetsRead = false;
    int currentProgram = -1;
    double sampleRate = 44100.0;
    bool active = false;
    std::vector<float> silence, scratch;
    std::vector<std::vector<float>> floatBuffers;
    std::unique_ptr<Lv2HostedPlugin> spare;
    // The editor, and what it was last told: every control input, and the control outputs the audio
    // thread leaves in outputValues after each block (NaN in told*: not told yet).
    std::unique_ptr<Lv2EditorHost> editor;
    std::vector<float> toldInputs, toldOutputs;
    std::vector<std::atomic<float>> outputValues;
    int editorWidth = 0, editorHeight = 0;
};
} // namespace tpm
