// The preset files hosts exchange: .fxp (one program) and .fxb (a bank), each either as a list
// of normalised parameter values or as the plug-in's own state chunk. Files are read and written
// here; plug-ins are read and changed only through their VST entry points.
#pragma once

#include "tools/hostkit/HostedPlugin.h"

#include <cstdint>
#include <string>
#include <vector>

struct PresetFile
{
    enum class Kind
    {
        ProgramParams, // 'FxCk'
        ProgramChunk,  // 'FPCh'
        BankParams,    // 'FxBk'
        BankChunk,     // 'FBCh'
    };
    struct Program
    {
        std::string name; // at most 27 bytes in the file
        std::vector<float> params;
    };

    Kind kind = Kind::ProgramParams;
    int32_t version = 1;
    int32_t fxId = 0;
    int32_t fxVersion = 0;
    int32_t numParams = 0;         // program kinds
    int32_t numPrograms = 0;       // bank kinds
    int32_t currentProgram = -1;   // banks of version 2; -1 when the file does not say
    std::vector<Program> programs; // one for ProgramParams / ProgramChunk (name only), all for BankParams
    std::vector<uint8_t> chunk;    // the chunk kinds

    bool IsBank() const { return kind == Kind::BankParams || kind == Kind::BankChunk; }
    bool IsChunk() const { return kind == Kind::ProgramChunk || kind == Kind::BankChunk; }

    std::vector<uint8_t> Encode() const;
    // False with a one-line reason when the bytes are not a well-formed preset file.
    static bool Decode(const std::vector<uint8_t>& bytes, PresetFile& out, std::string& error);
    bool Save(const std::string& path, std::string& error) const;
    static bool Load(const std::string& path, PresetFile& out, std::string& error);

    // Reads a program (-1: the current one) or the whole bank from the plug-in. The parameter
    // form of a bank selects every program in turn, as hosts do, and then the current one again.
    static bool Capture(HostedPlugin& plugin, Kind kind, int program, PresetFile& out, std::string& error);
    // Applies the file to the plug-in: a program goes into the current program, a bank replaces
    // the programs it lists.
    bool Apply(HostedPlugin& plugin, std::string& error) const;
};

// Loads a .fxp or .fxb file into the plug-in; prints a one-line error and answers false on failure.
bool LoadPresetFileInto(HostedPlugin& plugin, const std::string& path);

// The host tool's sub-commands for programs and preset files.
int RunPrograms(const std::string& module, const std::string& load);
int RunExportPreset(const std::string& module, const std::string& output, bool bank, bool chunk, int program,
                    const std::string& load);
