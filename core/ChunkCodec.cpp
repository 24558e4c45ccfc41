#include "core/ChunkCodec.h"

#include <cstring>

namespace tpm
{
bool ChunkCodec::WriteProgram(ByteBuffer& out, const std::vector<double>& values)
{
    bool ok = out.AppendBytes(kMagic, 4) && out.AppendInt32(kVersion);
    for (const double v : values)
        ok = ok && out.AppendDouble(v);
    return ok;
}

bool ChunkCodec::WriteBank(ByteBuffer& out, const std::vector<PresetState>& slots, int paramCount)
{
    bool ok = out.AppendBytes(kMagic, 4) && out.AppendInt32(kVersion);
    for (const PresetState& slot : slots)
    {
        ok = ok && out.AppendText(slot.name.Get());
        const uint8_t inUse = slot.inUse ? 1 : 0;
        ok = ok && out.AppendBytes(&inUse, 1);
        if (!slot.inUse)
            continue;
        // Readers take exactly one value per parameter, without a length.
        for (int i = 0; i < paramCount; ++i)
            ok = ok && out.AppendDouble(i < static_cast<int>(slot.values.size()) ? slot.values[i] : 0.0);
    }
    return ok;
}

ChunkCodec::Header ChunkCodec::ReadHeader(const ByteBuffer& in)
{
    Header header;
    // A block without the magic reads as bare values, whether the host asked for a bank or a program:
    // kept on purpose, as projects saved by the oldest builds hold such blocks and may rely on it.
    if (in.Size() >= 4 && std::memcmp(in.Data(), kMagic, 4) == 0)
        header.start = in.ReadInt32(4, header.version) < 0 ? -1 : 8;
    return header;
}

bool ChunkCodec::ReadProgram(const ByteBuffer& in, int pos, std::vector<double>& values)
{
    for (double& v : values)
    {
        pos = in.ReadDouble(pos, v);
        if (pos < 0)
            return false;
    }
    return true;
}

bool ChunkCodec::ReadBank(const ByteBuffer& in, int pos, std::vector<PresetState>& slots)
{
    for (PresetState& slot : slots)
    {
        char name[PresetRecord::Name::kCapacity + 1];
        const int next = pos < 0 ? -1 : in.ReadText(pos, name, sizeof name);
        if (next < 0 || in.Remaining(next) < 1)
            return false;
        slot.name.Set(name);
        slot.inUse = in.Data()[next] != 0;
        pos = next + 1;
        if (slot.inUse && !ReadProgram(in, pos, slot.values))
            return false;
        if (slot.inUse)
            pos += static_cast<int>(slot.values.size()) * 8;
    }
    return true;
}
} // namespace tpm
