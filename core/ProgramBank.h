// The program slots of one instance: each slot's name and stored values, the current slot, renaming,
// the naming of slots the user fills, and the bank and program chunks hosts store.
//
// Threads: only the host's non-audio threads call it. Each public call takes what it needs: the slot
// calls the plug-in lock for their whole length, the chunk calls the chunk mutex first (one chunk
// request at a time, on buffers kept between requests) and the plug-in lock only to copy the state
// out or to apply a decoded one. The caller holds neither, except for the reads (Count, Name, Slot,
// Current, MakeUserPresetName), for which it holds the plug-in lock when others may change the slots.
// Values restored from a slot or a chunk run every parameter's handler under the plug-in lock.
#pragma once

#include "core/ByteBuffer.h"
#include "core/ChunkCodec.h"
#include "core/ParameterSet.h"
#include "core/PluginLock.h"
#include "core/PresetRecord.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tpm
{
class ProgramBank
{
  public:
    ProgramBank(int slotCount, ParameterSet& params, PluginLock& lock);
    ~ProgramBank();
    ProgramBank(const ProgramBank&) = delete;
    ProgramBank& operator=(const ProgramBank&) = delete;

    int Count() const { return static_cast<int>(slots.size()); }
    int Current() const { return current; }
    // "" when index is no slot.
    const char* Name(int index) const;
    // Null when index is no slot.
    PresetRecord* Slot(int index);
    const PresetRecord* Slot(int index) const;

    // Fill the first free slot, as the plug-in's construction does: with these values (whole-number
    // kinds cut toward zero, a short list padded with 0), or with the live values.
    void AddFactory(const char* name, const double* values, int count);
    void AddDefaults(const char* name, int count);
    // The name a slot gets when first chosen while free: "user preset N".
    void MakeUserPresetName(char* out, std::size_t outSize) const;

    // The live values go into the current slot, then the slot's values become live (a free slot is
    // filled with the live values under a user preset name).
    void Select(int index);
    // Stores the live values into the current slot under this name.
    void RenameCurrent(const char* name);

    // The state as a chunk; the block stays valid until the next request of the same kind.
    int GetChunk(bool isBank, const void** data);
    // All or nothing: a chunk that runs short anywhere changes nothing and answers false.
    bool SetChunk(const void* data, int64_t size, bool isBank);

  private:
    // Under the plug-in lock the caller holds.
    void StoreIntoCurrent(const char* name);
    bool Restore(int index);
    PresetRecord* FirstFree();
    bool ApplyChunk(const ByteBuffer& buffer, bool isBank);
    static void CopyValues(const ByteBuffer& data, std::vector<double>& out);

    ParameterSet& params;
    PluginLock& lock;
    std::vector<std::unique_ptr<PresetRecord>> slots;
    int32_t current = 0;

    // Chunk work happens outside the plug-in lock, one request at a time, on buffers kept
    // between requests: the ones handed to the host, and the copies of the state they come from.
    std::mutex chunkMutex;
    ByteBuffer programChunk;
    ByteBuffer bankChunk;
    std::vector<double> chunkValues;
    std::vector<PresetState> chunkSlots;
};
} // namespace tpm
