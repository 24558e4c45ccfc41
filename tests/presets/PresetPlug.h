// One instance of the built module, loaded as a host loads it and driven through its VST entry
// points, with the program and chunk requests the preset tests need.
#pragma once

#include "tools/hostkit/Vst2HostedPlugin.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class PresetPlug
{
  public:
    PresetPlug();
    ~PresetPlug();
    PresetPlug(const PresetPlug&) = delete;
    PresetPlug& operator=(const PresetPlug&) = delete;

    AEffect* Effect() const { return effect; }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr);

    std::vector<uint8_t> GetChunk(bool bank);
    intptr_t SetChunk(const std::vector<uint8_t>& bytes, bool bank);
    // The live values, read from a program chunk.
    std::vector<double> Values();

    void SetProgram(int index) { Dispatch(vst::effSetProgram, 0, index); }
    int Program() { return static_cast<int>(Dispatch(vst::effGetProgram)); }
    void RenameProgram(const std::string& name);
    std::string ProgramName();
    std::string ProgramName(int index);
    std::string Display(int param);

    void SetParameter(int index, float normalized) { effect->setParameter(effect, index, normalized); }
    float GetParameter(int index) { return effect->getParameter(effect, index); }
    // Sets a parameter to a real value through the host's text request.
    void SetReal(int index, double value);

  private:
    std::unique_ptr<Vst2HostedPlugin> host;
    AEffect* effect = nullptr;
};
} // namespace tpm
