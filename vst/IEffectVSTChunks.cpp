// State data for the host: program and bank chunks, each behind a small header.
#include "vst/IEffectVST.h"

#include <cstring>
#include <utility>

namespace
{
constexpr uint8_t kChunkMagic[4] = {0x74, 0x66, 0x66, 0x70};
constexpr int32_t kChunkVersion = 0x10000;
// Far above anything the plug-in writes (a full bank is well under 100 KiB); a larger size is
// taken as a host error rather than copied.
constexpr VstIntPtr kMaxChunkBytes = VstIntPtr{64} << 20;
} // namespace

VstIntPtr IEffectVST::GetChunk(void** ptr, bool isBank)
{
    if (!ptr)
        return 0;
    ILockGuard guard(lock);
    IByteBuffer& buffer = isBank ? bankChunk : programChunk;
    buffer.Clear();
    bool ok = buffer.AppendBytes(kChunkMagic, 4) && buffer.AppendInt32(kChunkVersion);
    if (ok && isBank)
    {
        ModifyCurrentPreset(nullptr);
        ok = WritePresetBank(buffer);
    }
    else if (ok)
        ok = WriteState(buffer);
    if (!ok || buffer.Size() == 0)
        return 0;
    *ptr = buffer.Data();
    return buffer.Size();
}

VstIntPtr IEffectVST::SetChunk(const void* data, VstIntPtr size, bool isBank)
{
    if (!data || size < 0 || size > kMaxChunkBytes)
        return 0;
    // Copied aside first: hosts may hand back the very block GetChunk gave them, which the
    // chunk buffer would otherwise overwrite or free while copying.
    IByteBuffer incoming;
    if (!incoming.Resize(static_cast<int>(size)))
        return 0;
    if (size > 0)
        std::memcpy(incoming.Data(), data, static_cast<std::size_t>(size));
    ILockGuard guard(lock);
    IByteBuffer& buffer = isBank ? bankChunk : programChunk;
    buffer = std::move(incoming);

    int32_t version = 0;
    int start = 0;
    if (buffer.Size() >= 4 && std::memcmp(buffer.Data(), kChunkMagic, 4) == 0)
        start = buffer.ReadInt32(4, version) < 0 ? -1 : 8;

    int pos = -1;
    if (isBank && version >= kChunkVersion)
        pos = ReadPresetBank(buffer, start);
    else
    {
        pos = ReadState(buffer, start);
        ModifyCurrentPreset(nullptr);
    }
    if (pos < 0)
        return 0;
    ShowAllValuesInEditor();
    return 1;
}
