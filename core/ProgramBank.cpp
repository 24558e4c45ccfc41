#include "core/ProgramBank.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tpm
{
namespace
{
constexpr const char* kUserPresetPhrase = "user preset";
// Far above anything the plug-in writes (a full bank is well under 100 KiB); a larger size is
// taken as a host error rather than copied.
constexpr int64_t kMaxChunkBytes = int64_t{64} << 20;
} // namespace

ProgramBank::ProgramBank(int slotCount, ParameterSet& parameters, PluginLock& pluginLock)
    : params(parameters), lock(pluginLock)
{
    for (int i = 0; i < slotCount; ++i)
    {
        auto slot = std::make_unique<PresetRecord>();
        char name[32];
        std::snprintf(name, sizeof name, "- %d -", i + 1);
        slot->name.Set(name);
        slots.push_back(std::move(slot));
    }
    const auto paramCount = static_cast<std::size_t>(params.Count());
    // The copies chunk requests work on are sized once, so no request allocates them anew.
    chunkValues.assign(paramCount, 0.0);
    chunkSlots.resize(slots.size());
    // Likewise each slot's data, so that filling a free slot under the lock allocates nothing.
    for (auto& slot : slots)
        if (slot->data.Resize(params.Count() * 8))
            slot->data.Clear();
    for (PresetState& copy : chunkSlots)
        copy.values.assign(paramCount, 0.0);
}

ProgramBank::~ProgramBank()
{
    while (!slots.empty())
        slots.pop_back();
}

PresetRecord* ProgramBank::Slot(int index)
{
    return index >= 0 && index < Count() ? slots[static_cast<std::size_t>(index)].get() : nullptr;
}

const PresetRecord* ProgramBank::Slot(int index) const
{
    return const_cast<ProgramBank*>(this)->Slot(index);
}

const char* ProgramBank::Name(int index) const
{
    const PresetRecord* slot = Slot(index);
    return slot ? slot->name.Get() : "";
}

PresetRecord* ProgramBank::FirstFree()
{
    for (auto& slot : slots)
        if (!slot->inUse)
            return slot.get();
    return nullptr;
}

void ProgramBank::AddFactory(const char* name, const double* values, int count)
{
    ScopedLock guard(lock);
    PresetRecord* slot = FirstFree();
    if (!slot)
        return;
    slot->inUse = true;
    slot->name.Set(name);
    slot->data.Clear();
    // Whole-number kinds take integers: a fractional table value is cut toward zero as an integer
    // argument would be. A short list leaves the remaining parameters at 0, so the slot always
    // holds one value per parameter.
    for (int i = 0; i < params.Count(); ++i)
    {
        double v = values && i < count ? values[i] : 0.0;
        switch (params.Get(i)->GetKind())
        {
        case Parameter::kBool:
        case Parameter::kInt:
        case Parameter::kEnum:
            v = std::trunc(v);
            break;
        default:
            break;
        }
        slot->data.AppendDouble(v);
    }
}

void ProgramBank::AddDefaults(const char* name, int count)
{
    ScopedLock guard(lock);
    for (int n = 0; n < count; ++n)
    {
        PresetRecord* slot = FirstFree();
        if (!slot)
            return;
        slot->inUse = true;
        slot->name.Set(name ? name : "Default");
        slot->data.Clear();
        params.AppendValues(slot->data);
    }
}

void ProgramBank::StoreIntoCurrent(const char* name)
{
    PresetRecord* slot = Slot(current);
    if (!slot)
        return;
    slot->data.Clear();
    params.AppendValues(slot->data);
    if (name && name[0] != '\0')
        slot->name.Set(name);
}

bool ProgramBank::Restore(int index)
{
    PresetRecord* slot = Slot(index);
    if (!slot)
        return false;
    bool ok = false;
    if (slot->inUse)
        ok = params.ReadValues(slot->data, 0) > 0;
    else
    {
        char name[PresetRecord::Name::kCapacity + 1];
        MakeUserPresetName(name, sizeof name);
        slot->inUse = true;
        slot->name.Set(name);
        // Replace, not append: a free slot may still carry values (a bank that freed it, or
        // edits stored while it was current), and a slot in use must hold exactly one set.
        slot->data.Clear();
        ok = params.AppendValues(slot->data);
    }
    if (ok)
        current = index;
    return ok;
}

void ProgramBank::MakeUserPresetName(char* out, std::size_t outSize) const
{
    if (!out || outSize == 0)
        return;
    int count = 0;
    for (const auto& slot : slots)
        if (std::strstr(slot->name.Get(), kUserPresetPhrase))
            ++count;
    std::snprintf(out, outSize, "%s %d", kUserPresetPhrase, count + 1);
}

void ProgramBank::Select(int index)
{
    ScopedLock guard(lock);
    StoreIntoCurrent(nullptr);
    Restore(index);
}

void ProgramBank::RenameCurrent(const char* name)
{
    ScopedLock guard(lock);
    StoreIntoCurrent(name);
}

void ProgramBank::CopyValues(const ByteBuffer& data, std::vector<double>& out)
{
    // The stored bytes are little-endian doubles, the machine's own layout; a short slot is
    // padded with zeros.
    static_assert(std::endian::native == std::endian::little);
    const std::size_t have = std::min(static_cast<std::size_t>(data.Size()), out.size() * sizeof(double));
    if (have > 0)
        std::memcpy(out.data(), data.Data(), have);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(have / sizeof(double)), out.end(), 0.0);
}

int ProgramBank::GetChunk(bool isBank, const void** data)
{
    if (!data)
        return 0;
    std::lock_guard<std::mutex> oneAtATime(chunkMutex);
    ByteBuffer& buffer = isBank ? bankChunk : programChunk;
    if (isBank)
    {
        ScopedLock guard(lock);
        // The live values go into the current slot first, as on a program change.
        StoreIntoCurrent(nullptr);
        for (std::size_t i = 0; i < slots.size(); ++i)
        {
            const PresetRecord& slot = *slots[i];
            PresetState& copy = chunkSlots[i];
            copy.name.Set(slot.name.Get());
            copy.inUse = slot.inUse;
            if (copy.inUse)
                CopyValues(slot.data, copy.values);
        }
    }
    else
    {
        ScopedLock guard(lock);
        params.CopyValues(chunkValues);
    }
    buffer.Clear();
    const bool ok = isBank ? ChunkCodec::WriteBank(buffer, chunkSlots, params.Count())
                           : ChunkCodec::WriteProgram(buffer, chunkValues);
    if (!ok || buffer.Size() == 0)
        return 0;
    *data = buffer.Data();
    return buffer.Size();
}

bool ProgramBank::SetChunk(const void* data, int64_t size, bool isBank)
{
    if (!data || size < 0 || size > kMaxChunkBytes)
        return false;
    // Copied aside first: hosts may hand back the very block GetChunk gave them, which the
    // chunk buffer would otherwise overwrite or free while copying.
    ByteBuffer incoming;
    if (!incoming.Resize(static_cast<int>(size)))
        return false;
    if (size > 0)
        std::memcpy(incoming.Data(), data, static_cast<std::size_t>(size));
    std::lock_guard<std::mutex> oneAtATime(chunkMutex);
    ByteBuffer& buffer = isBank ? bankChunk : programChunk;
    buffer = std::move(incoming);
    return ApplyChunk(buffer, isBank);
}

bool ProgramBank::ApplyChunk(const ByteBuffer& buffer, bool isBank)
{
    const ChunkCodec::Header header = ChunkCodec::ReadHeader(buffer);
    if (header.start < 0)
        return false;
    if (isBank && header.version >= ChunkCodec::kVersion)
    {
        if (!ChunkCodec::ReadBank(buffer, header.start, chunkSlots))
            return false;
        // Values are limited as they are read; parameter ranges never change after construction.
        for (PresetState& copy : chunkSlots)
            for (std::size_t i = 0; i < copy.values.size(); ++i)
                copy.values[i] = params.Limit(static_cast<int>(i), copy.values[i]);
        ScopedLock guard(lock);
        for (std::size_t i = 0; i < slots.size(); ++i)
        {
            PresetRecord& slot = *slots[i];
            const PresetState& copy = chunkSlots[i];
            slot.name.Set(copy.name.Get());
            slot.inUse = copy.inUse;
            if (!copy.inUse)
                continue;
            slot.data.Clear();
            slot.data.AppendBytes(copy.values.data(), static_cast<int>(copy.values.size() * sizeof(double)));
        }
        // The current slot's values become live again; the current index stays.
        Restore(current);
    }
    else
    {
        // A program chunk, or a bank chunk of an older version or without a header.
        if (!ChunkCodec::ReadProgram(buffer, header.start, chunkValues))
            return false;
        ScopedLock guard(lock);
        params.ApplyValues(chunkValues);
        StoreIntoCurrent(nullptr);
    }
    return true;
}
} // namespace tpm
