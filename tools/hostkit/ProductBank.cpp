#include "tools/hostkit/ProductBank.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tpm
{
namespace
{
constexpr uint8_t kChunkMagic[4] = {0x74, 0x66, 0x66, 0x70};
constexpr uint32_t kChunkVersion = 0x10000;
constexpr uint8_t kContainerMagic[4] = {'t', 'P', 'T', 'M'};
constexpr uint32_t kContainerVersion = 3;
constexpr uint32_t kContainerVersionWritten = 2; // version 3 only adds the editor's scale
constexpr std::size_t kContainerHeaderWithScale = 24;
constexpr std::size_t kContainerHeader = 16;
constexpr std::size_t kContainerHeaderV1 = 12;

// Little-endian reads that stop at the end of the bytes.
class Reader
{
  public:
    explicit Reader(const std::vector<uint8_t>& bytes, std::size_t at = 0) : bytes(bytes), at(at) {}
    bool U32(uint32_t& v)
    {
        if (at > bytes.size() || bytes.size() - at < 4)
            return false;
        v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | bytes[at + static_cast<std::size_t>(i)];
        at += 4;
        return true;
    }
    bool Double(double& v)
    {
        static_assert(std::endian::native == std::endian::little);
        if (at > bytes.size() || bytes.size() - at < sizeof v)
            return false;
        std::memcpy(&v, bytes.data() + at, sizeof v);
        at += sizeof v;
        return true;
    }
    bool Bytes(std::size_t n, std::string& out)
    {
        if (at > bytes.size() || bytes.size() - at < n)
            return false;
        out.assign(reinterpret_cast<const char*>(bytes.data() + at), n);
        at += n;
        return true;
    }
    bool AtEnd() const { return at >= bytes.size(); }

  private:
    const std::vector<uint8_t>& bytes;
    std::size_t at;
};

void AppendU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void AppendDouble(std::vector<uint8_t>& out, double v)
{
    uint8_t bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    out.insert(out.end(), bytes, bytes + sizeof v);
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::size_t at, const uint8_t (&magic)[4])
{
    return bytes.size() >= at + 4 &&
           std::equal(magic, magic + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

std::vector<uint8_t> ChunkHeader()
{
    std::vector<uint8_t> out(kChunkMagic, kChunkMagic + 4);
    AppendU32(out, kChunkVersion);
    return out;
}
} // namespace

bool ProductBank::FromState(const std::vector<uint8_t>& state, int paramCount, std::vector<uint8_t>& bank,
                            int& currentProgram)
{
    currentProgram = -1;
    std::size_t start = 0;
    if (StartsWith(state, 0, kContainerMagic))
    {
        Reader header(state, 4);
        uint32_t version = 0, params = 0, current = 0;
        if (!header.U32(version) || !header.U32(params) || version > kContainerVersion ||
            params != static_cast<uint32_t>(paramCount) || (version >= 2 && !header.U32(current)))
            return false;
        start = version >= 3   ? kContainerHeaderWithScale
                : version >= 2 ? kContainerHeader
                               : kContainerHeaderV1;
        if (version >= 2)
            currentProgram = static_cast<int32_t>(current);
    }
    uint32_t version = 0;
    Reader chunk(state, start + 4);
    if (!StartsWith(state, start, kChunkMagic) || !chunk.U32(version) || version < kChunkVersion)
        return false;
    bank.assign(state.begin() + static_cast<std::ptrdiff_t>(start), state.end());
    return true;
}

std::vector<uint8_t> ProductBank::ToState(const std::vector<uint8_t>& bank, int paramCount,
                                          int currentProgram)
{
    std::vector<uint8_t> state(kContainerMagic, kContainerMagic + 4);
    AppendU32(state, kContainerVersionWritten);
    AppendU32(state, static_cast<uint32_t>(paramCount));
    AppendU32(state, static_cast<uint32_t>(currentProgram));
    state.insert(state.end(), bank.begin(), bank.end());
    return state;
}

bool ProductBank::Decode(const std::vector<uint8_t>& bank, int paramCount, std::vector<Slot>& slots)
{
    uint32_t version = 0;
    Reader in(bank, 4);
    if (!StartsWith(bank, 0, kChunkMagic) || !in.U32(version) || version < kChunkVersion)
        return false;
    slots.clear();
    while (!in.AtEnd())
    {
        Slot slot;
        uint32_t length = 0;
        std::string inUse;
        if (!in.U32(length) || !in.Bytes(length, slot.name) || !in.Bytes(1, inUse))
            return false;
        slot.inUse = inUse[0] != 0;
        if (slot.inUse)
        {
            slot.values.resize(static_cast<std::size_t>(std::max(paramCount, 0)));
            for (double& v : slot.values)
                if (!in.Double(v))
                    return false;
        }
        slots.push_back(std::move(slot));
    }
    return true;
}

std::vector<uint8_t> ProductBank::Encode(const std::vector<Slot>& slots)
{
    std::vector<uint8_t> out = ChunkHeader();
    for (const Slot& slot : slots)
    {
        AppendU32(out, static_cast<uint32_t>(slot.name.size()));
        out.insert(out.end(), slot.name.begin(), slot.name.end());
        out.push_back(slot.inUse ? 1 : 0);
        if (slot.inUse)
            for (const double v : slot.values)
                AppendDouble(out, v);
    }
    return out;
}

bool ProductBank::DecodeProgram(const std::vector<uint8_t>& chunk, int paramCount,
                                std::vector<double>& values)
{
    Reader in(chunk, StartsWith(chunk, 0, kChunkMagic) ? 8 : 0);
    if (chunk.size() < 8 && StartsWith(chunk, 0, kChunkMagic))
        return false;
    values.resize(static_cast<std::size_t>(std::max(paramCount, 0)));
    return std::all_of(values.begin(), values.end(), [&](double& v) { return in.Double(v); });
}

std::vector<uint8_t> ProductBank::EncodeProgram(const std::vector<double>& values)
{
    std::vector<uint8_t> out = ChunkHeader();
    for (const double v : values)
        AppendDouble(out, v);
    return out;
}
} // namespace tpm
