// The product's programs as every format binding sees them: the factory bank's slots, their names,
// the current one, and the bank and program chunks hosts store bare. Reached through
// PluginInstance::Programs(); the host's main thread calls it (see PluginInstance for the threads).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tpm
{
class ProgramBank;

class ProgramList
{
  public:
    // Which of the two stored chunks: the whole bank (every slot and its name), or the current program's
    // values.
    enum class ChunkKind
    {
        kBank,
        kProgram,
    };
    // The longest name a slot keeps, in bytes without the terminator.
    static constexpr std::size_t kNameCapacity = 255;

    explicit ProgramList(ProgramBank& bank) : bank(bank) {}
    ProgramList(const ProgramList&) = delete;
    ProgramList& operator=(const ProgramList&) = delete;

    int Count() const;
    // The name's stored bytes, as banks keep them and the VST2 build hands them to hosts.
    const char* Name(int index) const;
    // The name as UTF-8, for the formats whose hosts read Unicode; the stored bytes stay as they are.
    std::string NameUtf8(int index) const;
    // Whether a slot holds a program (the factory bank leaves the last slots empty).
    bool InUse(int index) const;
    int Current() const;
    // False (nothing changes) when index is no slot.
    bool Select(int index);
    // Stores the live values into the current slot under this name (its stored bytes).
    void RenameCurrent(const char* name);

    // The bytes stay valid until the next request of the same kind; empty when they cannot be made.
    std::span<const uint8_t> SaveChunk(ChunkKind kind);
    // All or nothing: a chunk that runs short anywhere changes nothing and answers false.
    bool LoadChunk(ChunkKind kind, const void* data, int64_t size);

  private:
    ProgramBank& bank;
};
} // namespace tpm
