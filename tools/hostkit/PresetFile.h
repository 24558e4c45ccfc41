// The preset files hosts exchange: .fxp (one program) and .fxb (a bank), each either as a list
// of normalised parameter values or as the plug-in's own state chunk: their bytes, read and written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tpm
{
struct PresetFile
{
    // "0x%08X", for messages about ids and tags.
    static std::string Hex(int32_t v);

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
};
} // namespace tpm
