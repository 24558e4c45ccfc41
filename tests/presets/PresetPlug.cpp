#include "tests/presets/PresetPlug.h"

#include "support/BankBytes.h"
#include "support/TestModule.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tpm
{
PresetPlug::PresetPlug()
{
    host = LoadTestModule();
    if (!host)
        throw std::runtime_error("the plug-in module cannot be loaded");
    effect = host->Effect();
    Dispatch(vst::effOpen);
}

PresetPlug::~PresetPlug() = default;

intptr_t PresetPlug::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

std::vector<uint8_t> PresetPlug::GetChunk(bool bank)
{
    void* data = nullptr;
    const intptr_t size = Dispatch(vst::effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || !data)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t PresetPlug::SetChunk(const std::vector<uint8_t>& bytes, bool bank)
{
    // A copy of its own, so a read past the given size shows up under the address sanitizer.
    std::vector<uint8_t> copy(bytes);
    static uint8_t none;
    return Dispatch(vst::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()),
                    copy.empty() ? &none : copy.data());
}

std::vector<double> PresetPlug::Values()
{
    const std::vector<uint8_t> chunk = GetChunk(false);
    std::vector<double> values;
    for (std::size_t at = 8; at + 8 <= chunk.size(); at += 8)
        values.push_back(DoubleAt(chunk, at));
    return values;
}

void PresetPlug::RenameProgram(const std::string& name)
{
    std::string text = name;
    Dispatch(vst::effSetProgramName, 0, 0, text.data());
}

std::string PresetPlug::ProgramName()
{
    char text[512] = {};
    Dispatch(vst::effGetProgramName, 0, 0, text);
    return text;
}

std::string PresetPlug::ProgramName(int index)
{
    char text[512] = {};
    Dispatch(vst::effGetProgramNameIndexed, index, 0, text);
    return text;
}

std::string PresetPlug::Display(int param)
{
    return host->ParamDisplay(param);
}

void PresetPlug::SetReal(int index, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    Dispatch(vst::effString2Parameter, index, 0, text);
}
} // namespace tpm
