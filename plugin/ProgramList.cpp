#include "plugin/ProgramList.h"

#include "core/PresetRecord.h"
#include "core/ProgramBank.h"
#include "draw/TextEncoding.h"

namespace tpm
{
static_assert(ProgramList::kNameCapacity == PresetRecord::Name::kCapacity);

int ProgramList::Count() const
{
    return bank.Count();
}

const char* ProgramList::Name(int index) const
{
    return bank.Name(index);
}

std::string ProgramList::NameUtf8(int index) const
{
    return tpm::Utf8FromProductText(bank.Name(index));
}

bool ProgramList::InUse(int index) const
{
    const PresetRecord* slot = bank.Slot(index);
    return slot && slot->inUse;
}

int ProgramList::Current() const
{
    return bank.Current();
}

bool ProgramList::Select(int index)
{
    if (index < 0 || index >= Count())
        return false;
    bank.Select(index);
    return true;
}

void ProgramList::RenameCurrent(const char* name)
{
    bank.RenameCurrent(name);
}

std::span<const uint8_t> ProgramList::SaveChunk(ChunkKind kind)
{
    const void* bytes = nullptr;
    const int size = bank.GetChunk(kind == ChunkKind::kBank, &bytes);
    if (size <= 0 || !bytes)
        return {};
    return {static_cast<const uint8_t*>(bytes), static_cast<std::size_t>(size)};
}

bool ProgramList::LoadChunk(ChunkKind kind, const void* data, int64_t size)
{
    return bank.SetChunk(data, size, kind == ChunkKind::kBank);
}
} // namespace tpm
