#include "tools/hostkit/PresetFile.h"

#include "tools/hostkit/ReplacingFile.h"
#include "tools/hostkit/SmallFileReading.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace tpm
{
namespace
{
constexpr int32_t Tag(const char (&t)[5])
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(t[0])) << 24 |
                                static_cast<uint32_t>(static_cast<uint8_t>(t[1])) << 16 |
                                static_cast<uint32_t>(static_cast<uint8_t>(t[2])) << 8 |
                                static_cast<uint32_t>(static_cast<uint8_t>(t[3])));
}

constexpr int32_t kChunkMagic = Tag("CcnK");
constexpr int32_t kProgramParams = Tag("FxCk");
constexpr int32_t kProgramChunk = Tag("FPCh");
constexpr int32_t kBankParams = Tag("FxBk");
constexpr int32_t kBankChunk = Tag("FBCh");
constexpr std::size_t kNameField = 28;
constexpr std::size_t kFutureField = 128;
constexpr std::size_t kProgramHeader = 7 * 4 + kNameField; // up to and including the name
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

class Writer
{
  public:
    std::vector<uint8_t> bytes;

    void Int32(int32_t v)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift));
    }
    void Float(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        Int32(static_cast<int32_t>(bits));
    }
    void Field(const std::string& text, std::size_t size)
    {
        const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
        bytes.insert(bytes.end(), text.begin(), text.begin() + static_cast<long>(n));
        bytes.insert(bytes.end(), size - n, 0);
    }
    void Bytes(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    // The size field counts everything after the magic and itself.
    void PatchSize(std::size_t start)
    {
        const auto size = static_cast<uint32_t>(bytes.size() - start - 8);
        for (int i = 0; i < 4; ++i)
            bytes[start + 4 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(size >> (24 - 8 * i));
    }
};

class Reader
{
  public:
    Reader(const std::vector<uint8_t>& b, std::size_t start) : bytes(b), pos(start) {}

    bool Has(std::size_t n) const { return n <= bytes.size() - pos; }
    bool Int32(int32_t& v)
    {
        if (!Has(4))
            return false;
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u = u << 8 | bytes[pos++];
        v = static_cast<int32_t>(u);
        return true;
    }
    bool Float(float& v)
    {
        int32_t bits;
        if (!Int32(bits))
            return false;
        std::memcpy(&v, &bits, 4);
        return true;
    }
    bool Field(std::string& text, std::size_t size)
    {
        if (!Has(size))
            return false;
        const auto* start = reinterpret_cast<const char*>(bytes.data() + pos);
        text.assign(start, strnlen(start, size));
        pos += size;
        return true;
    }
    bool Bytes(std::vector<uint8_t>& out, int32_t n)
    {
        if (n < 0 || !Has(static_cast<std::size_t>(n)))
            return false;
        out.assign(bytes.begin() + static_cast<long>(pos), bytes.begin() + static_cast<long>(pos) + n);
        pos += static_cast<std::size_t>(n);
        return true;
    }
    std::size_t Pos() const { return pos; }

  private:
    const std::vector<uint8_t>& bytes;
    std::size_t pos;
};

void EncodeProgram(Writer& w, int32_t fxMagic, int32_t fxId, int32_t fxVersion,
                   const PresetFile::Program& program, int32_t numParams, const std::vector<uint8_t>* chunk)
{
    const std::size_t start = w.bytes.size();
    w.Int32(kChunkMagic);
    w.Int32(0);
    w.Int32(fxMagic);
    w.Int32(1);
    w.Int32(fxId);
    w.Int32(fxVersion);
    w.Int32(numParams);
    w.Field(program.name, kNameField);
    if (chunk)
    {
        w.Int32(static_cast<int32_t>(chunk->size()));
        w.Bytes(*chunk);
    }
    else
        for (float v : program.params)
            w.Float(v);
    w.PatchSize(start);
}

// Header fields common to both file kinds, after which the kind-specific part follows.
struct Header
{
    int32_t fxMagic = 0;
    int32_t version = 0;
    int32_t fxId = 0;
    int32_t fxVersion = 0;
    int32_t count = 0;
};

bool ReadHeader(Reader& r, Header& h, std::string& error)
{
    int32_t magic = 0;
    int32_t byteSize = 0;
    if (!r.Int32(magic) || magic != kChunkMagic)
    {
        error = "not a VST preset file (no 'CcnK' header)";
        return false;
    }
    if (!r.Int32(byteSize) || !r.Int32(h.fxMagic) || !r.Int32(h.version) || !r.Int32(h.fxId) ||
        !r.Int32(h.fxVersion) || !r.Int32(h.count))
    {
        error = "preset file header is cut short";
        return false;
    }
    if (h.count < 0)
    {
        error = "preset file gives a negative count (" + std::to_string(h.count) + ")";
        return false;
    }
    return true;
}

// One program in the parameter form, as it stands alone in an .fxp or inside a bank.
bool DecodeProgramParams(Reader& r, const Header& h, PresetFile::Program& program, std::string& error)
{
    if (!r.Field(program.name, kNameField) || !r.Has(static_cast<std::size_t>(h.count) * 4))
    {
        error = "program '" + program.name + "' is cut short";
        return false;
    }
    program.params.resize(static_cast<std::size_t>(h.count));
    for (float& v : program.params)
        r.Float(v);
    return true;
}
} // namespace

std::string PresetFile::Hex(int32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
    return text;
}

std::vector<uint8_t> PresetFile::Encode() const
{
    Writer w;
    static const Program unnamed;
    const Program& first = programs.empty() ? unnamed : programs.front();
    switch (kind)
    {
    case Kind::ProgramParams:
        EncodeProgram(w, kProgramParams, fxId, fxVersion, first, static_cast<int32_t>(first.params.size()),
                      nullptr);
        return w.bytes;
    case Kind::ProgramChunk:
        EncodeProgram(w, kProgramChunk, fxId, fxVersion, first, numParams, &chunk);
        return w.bytes;
    case Kind::BankParams:
    case Kind::BankChunk:
        break;
    }
    const bool withCurrent = currentProgram >= 0;
    w.Int32(kChunkMagic);
    w.Int32(0);
    w.Int32(kind == Kind::BankChunk ? kBankChunk : kBankParams);
    w.Int32(withCurrent ? 2 : 1);
    w.Int32(fxId);
    w.Int32(fxVersion);
    w.Int32(kind == Kind::BankChunk ? numPrograms : static_cast<int32_t>(programs.size()));
    std::size_t reserved = kFutureField;
    if (withCurrent)
    {
        w.Int32(currentProgram);
        reserved -= 4;
    }
    w.bytes.insert(w.bytes.end(), reserved, 0);
    if (kind == Kind::BankChunk)
    {
        w.Int32(static_cast<int32_t>(chunk.size()));
        w.Bytes(chunk);
    }
    else
        for (const Program& program : programs)
            EncodeProgram(w, kProgramParams, fxId, fxVersion, program,
                          static_cast<int32_t>(program.params.size()), nullptr);
    w.PatchSize(0);
    return w.bytes;
}

bool PresetFile::Decode(const std::vector<uint8_t>& bytes, PresetFile& out, std::string& error)
{
    out = PresetFile{};
    Reader r(bytes, 0);
    Header h;
    if (!ReadHeader(r, h, error))
        return false;
    out.version = h.version;
    out.fxId = h.fxId;
    out.fxVersion = h.fxVersion;
    int32_t chunkSize = 0;
    switch (h.fxMagic)
    {
    case kProgramParams:
        out.kind = Kind::ProgramParams;
        out.numParams = h.count;
        out.programs.resize(1);
        return DecodeProgramParams(r, h, out.programs[0], error);
    case kProgramChunk:
        out.kind = Kind::ProgramChunk;
        out.numParams = h.count;
        out.programs.resize(1);
        if (!r.Field(out.programs[0].name, kNameField) || !r.Int32(chunkSize) ||
            !r.Bytes(out.chunk, chunkSize))
        {
            error = "program chunk is cut short or gives a bad size";
            return false;
        }
        return true;
    case kBankParams:
    case kBankChunk:
        break;
    default:
        error = "unknown preset file kind " + Hex(h.fxMagic) + " (expected FxCk, FPCh, FxBk or FBCh)";
        return false;
    }
    out.kind = h.fxMagic == kBankChunk ? Kind::BankChunk : Kind::BankParams;
    out.numPrograms = h.count;
    if (!r.Has(kFutureField))
    {
        error = "bank header is cut short";
        return false;
    }
    Reader reserved = r;
    int32_t current = -1;
    if (h.version >= 2 && reserved.Int32(current) && current >= 0 && current < h.count)
        out.currentProgram = current;
    std::vector<uint8_t> skip;
    r.Bytes(skip, static_cast<int32_t>(kFutureField));
    if (out.kind == Kind::BankChunk)
    {
        if (!r.Int32(chunkSize) || !r.Bytes(out.chunk, chunkSize))
        {
            error = "bank chunk is cut short or gives a bad size";
            return false;
        }
        return true;
    }
    // Each program is a complete program record; the count is checked against what is there.
    if (static_cast<std::size_t>(h.count) > (bytes.size() - r.Pos()) / kProgramHeader)
    {
        error = "bank lists " + std::to_string(h.count) + " programs but is too short for them";
        return false;
    }
    for (int32_t i = 0; i < h.count; ++i)
    {
        Header ph;
        if (!ReadHeader(r, ph, error))
        {
            error.insert(0, "program " + std::to_string(i) + " of the bank: ");
            return false;
        }
        if (ph.fxMagic != kProgramParams)
        {
            error = "program " + std::to_string(i) + " of the bank is not in the parameter form";
            return false;
        }
        Program program;
        if (!DecodeProgramParams(r, ph, program, error))
            return false;
        out.programs.push_back(std::move(program));
    }
    return true;
}

bool PresetFile::Save(const std::string& path, std::string& error) const
{
    // Through a temporary file, so a full disk or a signal never leaves a bank that no longer loads.
    const std::vector<uint8_t> bytes = Encode();
    ReplacingFile file;
    return file.Open(path, error) && file.Write(bytes.data(), bytes.size(), error) && file.Commit(error);
}

bool PresetFile::Load(const std::string& path, PresetFile& out, std::string& error)
{
    std::string text;
    if (!ReadSmallFile(path, "preset file", kMaxFileBytes, text, error))
        return false;
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    if (!Decode(bytes, out, error))
    {
        error = "'" + path + "': " + error;
        return false;
    }
    return true;
}
} // namespace tpm
