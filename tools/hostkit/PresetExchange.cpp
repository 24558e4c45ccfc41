#include "tools/hostkit/PresetExchange.h"

#include "formats/vst2/Vst2Identity.h"
#include "tools/hostkit/ProductBank.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

namespace tpm
{
namespace
{
bool SelectProgram(Vst2HostedPlugin& plugin, int program, std::string& error)
{
    if (program < 0)
        return true;
    if (program >= plugin.Effect()->numPrograms)
    {
        error = "program " + std::to_string(program) + " does not exist (the plug-in has " +
                std::to_string(plugin.Effect()->numPrograms) + ")";
        return false;
    }
    plugin.Dispatch(vst::effSetProgram, 0, program);
    return true;
}

std::string CurrentProgramName(Vst2HostedPlugin& plugin)
{
    // Wider than any name a plug-in should give, so an overlong one is still caught here.
    char text[1024] = {};
    plugin.Dispatch(vst::effGetProgramName, 0, 0, text);
    text[sizeof text - 1] = '\0';
    return text;
}

PresetFile::Program CaptureProgram(Vst2HostedPlugin& plugin)
{
    AEffect* e = plugin.Effect();
    PresetFile::Program program;
    program.name = CurrentProgramName(plugin);
    for (int i = 0; i < e->numParams; ++i)
        program.params.push_back(e->getParameter(e, i));
    return program;
}

void ApplyProgram(Vst2HostedPlugin& plugin, const PresetFile::Program& program)
{
    AEffect* e = plugin.Effect();
    for (std::size_t i = 0; i < program.params.size(); ++i)
        e->setParameter(e, static_cast<int32_t>(i), program.params[i]);
    std::string name = program.name;
    plugin.Dispatch(vst::effSetProgramName, 0, 0, name.data());
}

bool CaptureChunk(Vst2HostedPlugin& plugin, bool bank, std::vector<uint8_t>& out, std::string& error)
{
    void* data = nullptr;
    const intptr_t size = plugin.Dispatch(vst::effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || !data)
    {
        error = std::string("the plug-in gave no ") + (bank ? "bank" : "program") + " chunk";
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.assign(bytes, bytes + size);
    return true;
}

bool ApplyChunk(Vst2HostedPlugin& plugin, bool bank, const std::vector<uint8_t>& chunk, std::string& error)
{
    std::vector<uint8_t> copy(chunk);
    static uint8_t empty;
    const intptr_t ok = plugin.Dispatch(vst::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()),
                                        copy.empty() ? &empty : copy.data());
    if (ok != 1)
    {
        error = std::string("the plug-in did not accept the ") + (bank ? "bank" : "program") + " chunk";
        return false;
    }
    return true;
}

bool CaptureVst2Preset(Vst2HostedPlugin& plugin, PresetFile::Kind kind, int program, PresetFile& out,
                       std::string& error)
{
    AEffect* e = plugin.Effect();
    out = PresetFile{};
    out.kind = kind;
    out.fxId = e->uniqueID;
    out.fxVersion = e->version;
    out.numParams = e->numParams;
    out.numPrograms = e->numPrograms;
    switch (kind)
    {
    case PresetFile::Kind::ProgramParams:
        if (!SelectProgram(plugin, program, error))
            return false;
        out.programs.push_back(CaptureProgram(plugin));
        return true;
    case PresetFile::Kind::ProgramChunk:
        if (!SelectProgram(plugin, program, error))
            return false;
        out.programs.push_back(PresetFile::Program{CurrentProgramName(plugin), {}});
        return CaptureChunk(plugin, false, out.chunk, error);
    case PresetFile::Kind::BankParams:
    {
        const int current = static_cast<int>(plugin.Dispatch(vst::effGetProgram));
        for (int i = 0; i < e->numPrograms; ++i)
        {
            plugin.Dispatch(vst::effSetProgram, 0, i);
            out.programs.push_back(CaptureProgram(plugin));
        }
        plugin.Dispatch(vst::effSetProgram, 0, current);
        out.currentProgram = current;
        return true;
    }
    case PresetFile::Kind::BankChunk:
        out.currentProgram = static_cast<int>(plugin.Dispatch(vst::effGetProgram));
        return CaptureChunk(plugin, true, out.chunk, error);
    }
    return false;
}

bool ApplyVst2Preset(Vst2HostedPlugin& plugin, const PresetFile& file, std::string& error)
{
    AEffect* e = plugin.Effect();
    if (file.fxId != e->uniqueID)
    {
        error = "the file is for plug-in id " + PresetFile::Hex(file.fxId) + ", the module's is " +
                PresetFile::Hex(e->uniqueID);
        return false;
    }
    switch (file.kind)
    {
    case PresetFile::Kind::ProgramParams:
        if (file.numParams != e->numParams)
        {
            error = "the file has " + std::to_string(file.numParams) + " parameters, the plug-in " +
                    std::to_string(e->numParams);
            return false;
        }
        ApplyProgram(plugin, file.programs.front());
        return true;
    case PresetFile::Kind::ProgramChunk:
        if (!ApplyChunk(plugin, false, file.chunk, error))
            return false;
        if (!file.programs.empty() && !file.programs.front().name.empty())
        {
            std::string name = file.programs.front().name;
            plugin.Dispatch(vst::effSetProgramName, 0, 0, name.data());
        }
        return true;
    case PresetFile::Kind::BankParams:
    {
        if (file.numPrograms > e->numPrograms)
        {
            error = "the bank has " + std::to_string(file.numPrograms) + " file.programs, the plug-in only " +
                    std::to_string(e->numPrograms);
            return false;
        }
        for (const PresetFile::Program& program : file.programs)
            if (program.params.size() != static_cast<std::size_t>(e->numParams))
            {
                error = "program '" + program.name + "' has " + std::to_string(program.params.size()) +
                        " parameters, the plug-in " + std::to_string(e->numParams);
                return false;
            }
        const int current = static_cast<int>(plugin.Dispatch(vst::effGetProgram));
        for (std::size_t i = 0; i < file.programs.size(); ++i)
        {
            plugin.Dispatch(vst::effSetProgram, 0, static_cast<intptr_t>(i));
            ApplyProgram(plugin, file.programs[i]);
        }
        plugin.Dispatch(vst::effSetProgram, 0, file.currentProgram >= 0 ? file.currentProgram : current);
        return true;
    }
    case PresetFile::Kind::BankChunk:
        if (!ApplyChunk(plugin, true, file.chunk, error))
            return false;
        if (file.currentProgram >= 0 && file.currentProgram < e->numPrograms)
            plugin.Dispatch(vst::effSetProgram, 0, file.currentProgram);
        return true;
    }
    return false;
}

// The VST2 build's identity, which the other builds' banks belong to.
constexpr int32_t kDecimalVersion = (vst2identity::kVersion >> 16) * 10000 +
                                    ((vst2identity::kVersion >> 8) & 0xFF) * 100 +
                                    (vst2identity::kVersion & 0xFF);

bool NoParamValues(std::string& error)
{
    error = "files of parameter values hold VST2 normalised values, which only the VST2 build maps onto "
            "its parameters; use a chunk file (export-fxp/export-fxb --chunk)";
    return false;
}

bool ReadBank(HostedInstance& plugin, std::vector<uint8_t>& bank, int& current, std::string& error)
{
    if (plugin.SaveBank(bank, current))
        return true;
    error = "the plug-in's state holds no bank a preset file can carry";
    return false;
}

bool CaptureFromBank(HostedInstance& plugin, PresetFile::Kind kind, int program, PresetFile& out,
                     std::string& error)
{
    out.fxId = vst2identity::kUniqueId;
    out.fxVersion = kDecimalVersion;
    out.numParams = plugin.ParamCount();
    if (kind == PresetFile::Kind::ProgramParams || kind == PresetFile::Kind::BankParams)
        return NoParamValues(error);
    if (kind == PresetFile::Kind::ProgramChunk && program >= 0 && !plugin.SelectProgram(program))
    {
        error = "program " + std::to_string(program) + " does not exist (the plug-in has " +
                std::to_string(plugin.ProgramCount()) + ")";
        return false;
    }
    std::vector<uint8_t> bank;
    int current = -1;
    std::vector<ProductBank::Slot> slots;
    if (!ReadBank(plugin, bank, current, error))
        return false;
    // The bank's every slot is a program to the VST2 build, beyond the factory ones the formats list.
    out.numPrograms =
        ProductBank::Decode(bank, plugin.ParamCount(), slots) ? static_cast<int32_t>(slots.size()) : 0;
    if (kind == PresetFile::Kind::BankChunk)
    {
        out.currentProgram = current;
        out.chunk = std::move(bank);
        return true;
    }
    if (slots.empty() || current < 0 || current >= static_cast<int>(slots.size()) ||
        !slots[static_cast<std::size_t>(current)].inUse)
    {
        error = "the plug-in's bank holds no current program";
        return false;
    }
    const ProductBank::Slot& slot = slots[static_cast<std::size_t>(current)];
    out.programs.push_back(PresetFile::Program{slot.name.substr(0, slot.name.find('\0')), {}});
    out.chunk = ProductBank::EncodeProgram(slot.values);
    return true;
}

bool ApplyToBank(HostedInstance& plugin, const PresetFile& file, std::string& error)
{
    if (file.fxId != vst2identity::kUniqueId)
    {
        error = "the file is for plug-in id " + PresetFile::Hex(file.fxId) + ", the module's is " +
                PresetFile::Hex(vst2identity::kUniqueId);
        return false;
    }
    if (!file.IsChunk())
        return NoParamValues(error);
    std::vector<uint8_t> bank;
    int current = -1;
    if (!ReadBank(plugin, bank, current, error))
        return false;
    if (file.kind == PresetFile::Kind::BankChunk)
    {
        const int program = file.currentProgram >= 0 && file.currentProgram < plugin.ProgramCount()
                                ? file.currentProgram
                                : current;
        if (plugin.LoadBank(file.chunk, program))
            return true;
        error = "the plug-in did not accept the bank chunk";
        return false;
    }
    // A program goes into the current slot, with the file's name where it has one.
    std::vector<ProductBank::Slot> slots;
    std::vector<double> values;
    if (!ProductBank::Decode(bank, plugin.ParamCount(), slots) || current < 0 ||
        current >= static_cast<int>(slots.size()) ||
        !ProductBank::DecodeProgram(file.chunk, plugin.ParamCount(), values))
    {
        error = "the plug-in did not accept the program chunk";
        return false;
    }
    ProductBank::Slot& slot = slots[static_cast<std::size_t>(current)];
    slot.inUse = true;
    slot.values = values;
    if (!file.programs.empty() && !file.programs.front().name.empty())
        slot.name = file.programs.front().name;
    if (plugin.LoadBank(ProductBank::Encode(slots), current))
        return true;
    error = "the plug-in did not accept the program chunk";
    return false;
}
} // namespace

bool CapturePreset(HostedInstance& plugin, PresetFile::Kind kind, int program, PresetFile& out,
                   std::string& error)
{
    if (Vst2HostedPlugin* vst2 = plugin.Vst2())
        return CaptureVst2Preset(*vst2, kind, program, out, error);
    out = PresetFile{};
    out.kind = kind;
    return CaptureFromBank(plugin, kind, program, out, error);
}

bool ApplyPreset(HostedInstance& plugin, const PresetFile& file, std::string& error)
{
    if (Vst2HostedPlugin* vst2 = plugin.Vst2())
        return ApplyVst2Preset(*vst2, file, error);
    return ApplyToBank(plugin, file, error);
}
} // namespace tpm
