// One LV2 plug-in instance: the host's LV2_Descriptor calls translated into the product's instance.
// Control ports are read at the start of each run and a port that changed applies from the block's
// first frame; time:Position events split the block where they fall. The state interface saves and
// restores the whole bank; the control ports carry the current sound, so after a restore each port
// that differs from the restored values applies at the next run, whatever order the host restores
// state and ports in.
#pragma once

#include "formats/lv2/Lv2Ports.h"
#include "formats/lv2/Lv2Transport.h"
#include "formats/lv2/Lv2ValueText.h"
#include "plugin/PluginInstance.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <array>
#include <atomic>
#include <memory>

namespace tpm
{
class Lv2Plugin
{
  public:
    static const LV2_Descriptor kDescriptor;

  private:
    // Without a bound from the host, blocks are processed in pieces of at most this many frames.
    static constexpr int kDefaultMaxFrames = 4096;

    Lv2Plugin(std::unique_ptr<PluginInstance> product, const LV2_URID_Map* map, double rate, int maxFrames);
    static Lv2Plugin* Self(LV2_Handle handle) { return static_cast<Lv2Plugin*>(handle); }

    static LV2_Handle Instantiate(const LV2_Descriptor* descriptor, double rate, const char* bundlePath,
                                  const LV2_Feature* const* features);
    static void ConnectPort(LV2_Handle handle, uint32_t port, void* data);
    static void Activate(LV2_Handle handle);
    static void Run(LV2_Handle handle, uint32_t frames);
    static void Deactivate(LV2_Handle handle);
    static void Cleanup(LV2_Handle handle);
    static const void* ExtensionData(const char* uri);
    static bool FormatValue(LV2_Handle handle, uint32_t port, float value, char* out, uint32_t size);
    static LV2_State_Status Save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state,
                                 uint32_t flags, const LV2_Feature* const* features);
    static LV2_State_Status Restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                                    LV2_State_Handle state, uint32_t flags,
                                    const LV2_Feature* const* features);

    // The changed control ports, as changes from the block's first frame.
    std::size_t ReadControls();
    // Frames [from, from + frames) in pieces the product accepts; the changes go with the first piece.
    void ProcessFrames(int from, int frames, std::size_t changeCount);
    void WriteDisplay();
    // The editor's message with the scale the user chose; false for any other atom.
    bool ReadEditorScale(const LV2_Atom& atom);

    std::unique_ptr<PluginInstance> instance;
    Lv2Transport transport;
    // 0 without the host's map: the state then cannot be saved or restored.
    LV2_URID chunkType = 0;
    LV2_URID bankKey = 0;
    LV2_URID objectType = 0;
    LV2_URID floatType = 0;
    LV2_URID editorScaleKey = 0;
    double sampleRate;
    int maxFrames;
    bool active = false;
    std::array<const float*, lv2port::kParams> controls{};
    std::array<float, lv2port::kParams> applied{};
    std::array<ParamChange, lv2port::kParams> changes{};
    std::atomic<bool> compareWithProduct{true};
    const float* audioIn[2] = {nullptr, nullptr};
    float* audioOut[2] = {nullptr, nullptr};
    const LV2_Atom_Sequence* events = nullptr;
    float* band = nullptr;
    float* lfoMarker[2] = {nullptr, nullptr};
    float* lfoState[2] = {nullptr, nullptr};
    float* editorScale = nullptr;
};
} // namespace tpm
