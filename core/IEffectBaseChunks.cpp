// State chunks for the host. The plug-in lock is held only to copy the state out or to apply a
// decoded one; encoding, copying the host's bytes and decoding them happen outside it.
#include "core/IEffectBase.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace
{
// Far above anything the plug-in writes (a full bank is well under 100 KiB); a larger size is
// taken as a host error rather than copied.
constexpr int64_t kMaxChunkBytes = int64_t{64} << 20;
} // namespace

void IEffectBase::CopyValues(const IByteBuffer& data, std::vector<double>& out)
{
    // The stored bytes are little-endian doubles, the machine's own layout; a short slot is
    // padded with zeros.
    static_assert(std::endian::native == std::endian::little);
    const std::size_t have = std::min(static_cast<std::size_t>(data.Size()), out.size() * sizeof(double));
    if (have > 0)
        std::memcpy(out.data(), data.Data(), have);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(have / sizeof(double)), out.end(), 0.0);
}

void IEffectBase::CopyLiveValues(std::vector<double>& out) const
{
    for (std::size_t i = 0; i < parameters.size() && i < out.size(); ++i)
        out[i] = parameters[i]->Value();
}

void IEffectBase::ApplyValues(const std::vector<double>& values)
{
    for (std::size_t i = 0; i < parameters.size() && i < values.size(); ++i)
        parameters[i]->SetValue(parameters[i]->Limit(values[i]));
    for (int i = 0; i < ParamCount(); ++i)
        HandleParamChange(i);
}

int IEffectBase::GetChunk(bool isBank, const void** data)
{
    if (!data)
        return 0;
    std::lock_guard<std::mutex> oneAtATime(chunkMutex);
    IByteBuffer& buffer = isBank ? bankChunk : programChunk;
    if (isBank)
    {
        ILockGuard guard(lock);
        // The live values go into the current slot first, as on a program change.
        ModifyCurrentPreset(nullptr);
        for (std::size_t i = 0; i < presets.size(); ++i)
        {
            const IPresetRecord& preset = *presets[i];
            PresetState& slot = chunkSlots[i];
            slot.name.Set(preset.name.Get());
            slot.inUse = preset.inUse;
            if (slot.inUse)
                CopyValues(preset.data, slot.values);
        }
    }
    else
    {
        ILockGuard guard(lock);
        CopyLiveValues(chunkValues);
    }
    buffer.Clear();
    const bool ok = isBank ? ChunkCodec::WriteBank(buffer, chunkSlots, ParamCount())
                           : ChunkCodec::WriteProgram(buffer, chunkValues);
    if (!ok || buffer.Size() == 0)
        return 0;
    *data = buffer.Data();
    return buffer.Size();
}

bool IEffectBase::SetChunk(const void* data, int64_t size, bool isBank)
{
    if (!data || size < 0 || size > kMaxChunkBytes)
        return false;
    // Copied aside first: hosts may hand back the very block GetChunk gave them, which the
    // chunk buffer would otherwise overwrite or free while copying.
    IByteBuffer incoming;
    if (!incoming.Resize(static_cast<int>(size)))
        return false;
    if (size > 0)
        std::memcpy(incoming.Data(), data, static_cast<std::size_t>(size));
    std::lock_guard<std::mutex> oneAtATime(chunkMutex);
    IByteBuffer& buffer = isBank ? bankChunk : programChunk;
    buffer = std::move(incoming);
    return SetChunkUnlocked(buffer, isBank);
}

bool IEffectBase::SetChunkUnlocked(const IByteBuffer& buffer, bool isBank)
{
    const ChunkCodec::Header header = ChunkCodec::ReadHeader(buffer);
    if (header.start < 0)
        return false;
    if (isBank && header.version >= ChunkCodec::kVersion)
    {
        if (!ChunkCodec::ReadBank(buffer, header.start, chunkSlots))
            return false;
        // Values are limited as they are read; parameter ranges never change after construction.
        for (PresetState& slot : chunkSlots)
            for (std::size_t i = 0; i < slot.values.size(); ++i)
                slot.values[i] = parameters[i]->Limit(slot.values[i]);
        ILockGuard guard(lock);
        for (std::size_t i = 0; i < presets.size(); ++i)
        {
            IPresetRecord& preset = *presets[i];
            const PresetState& slot = chunkSlots[i];
            preset.name.Set(slot.name.Get());
            preset.inUse = slot.inUse;
            if (!slot.inUse)
                continue;
            preset.data.Clear();
            preset.data.AppendBytes(slot.values.data(),
                                    static_cast<int>(slot.values.size() * sizeof(double)));
        }
        // The current slot's values become live again; the current index stays.
        RestorePreset(currentPreset);
    }
    else
    {
        // A program chunk, or a bank chunk of an older version or without a header.
        if (!ChunkCodec::ReadProgram(buffer, header.start, chunkValues))
            return false;
        ILockGuard guard(lock);
        ApplyValues(chunkValues);
        ModifyCurrentPreset(nullptr);
    }
    return true;
}
