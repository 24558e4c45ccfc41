// A small LV2 host for the tests: loads the bundle's plug-in module through lv2_descriptor, maps URIs,
// owns every port's buffer, writes time:Position events, and keeps state as the host would.
#pragma once

#include "tools/hostkit/Lv2PositionWriter.h"
#include "tools/hostkit/Lv2UridMap.h"
#include "tools/hostkit/ModuleLibrary.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class Lv2TestHost
{
  public:
    static constexpr uint32_t kControls = 23;
    static constexpr uint32_t kAudioIn = 23;
    static constexpr uint32_t kAudioOut = 25;
    static constexpr uint32_t kEvents = 27;
    static constexpr uint32_t kBand = 28;
    static constexpr uint32_t kEditorScale = 33;
    static constexpr uint32_t kPorts = 34;

    // maxBlock > 0 offers that bound through the options feature; withMap false offers no features.
    Lv2TestHost(double rate, int maxBlock, bool withMap = true);
    ~Lv2TestHost();
    Lv2TestHost(const Lv2TestHost&) = delete;
    Lv2TestHost& operator=(const Lv2TestHost&) = delete;

    bool Ready() const { return handle != nullptr; }
    const std::string& Error() const { return error; }

    float& Control(uint32_t port) { return ports[port][0]; }
    // Runs `frames` frames of the input (sized on demand) and appends both outputs to `left`/`right`.
    void Run(uint32_t frames, std::vector<float>* left = nullptr, std::vector<float>* right = nullptr);
    // A time:Position for the next run at `frame`: speed, tempo and bar/beat as hosts send them.
    void QueuePosition(int64_t frame, float speed, float bpm, int64_t bar = 0, float barBeat = 0.0f);
    // The editor's message with a scale the user chose, for the next run.
    void QueueEditorScale(float scale);
    // Fills both inputs for the next runs with a constant.
    void SetInput(float value) { inputValue = value; }

    bool SaveState(std::vector<uint8_t>& out);
    LV2_State_Status RestoreState(const std::vector<uint8_t>& data, bool asChunk = true);

  private:
    LV2_URID Urid(const char* uri) { return map.Map(uri); }
    const LV2_State_Interface* StateInterface() const;

    std::unique_ptr<ModuleLibrary> library;
    const LV2_Descriptor* descriptor = nullptr;
    LV2_Handle handle = nullptr;
    std::string error;
    Lv2UridMap map;
    int32_t maxBlockValue = 0;
    std::array<LV2_Options_Option, 2> options{};
    std::array<std::vector<float>, kPorts> ports;
    Lv2PositionWriter events{map, 8192};
    float inputValue = 0.0f;
};
} // namespace tpm
