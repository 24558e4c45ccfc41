#include "support/BankBytes.h"

#include "support/ParamIndex.h"

#include <cstring>

namespace tpm
{
int32_t Int32At(const std::vector<uint8_t>& bytes, std::size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(bytes.at(at + i)) << (8 * i);
    return static_cast<int32_t>(v);
}

double DoubleAt(const std::vector<uint8_t>& bytes, std::size_t at)
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<uint64_t>(bytes.at(at + i)) << (8 * i);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

void AppendInt32(std::vector<uint8_t>& bytes, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

void AppendDouble(std::vector<uint8_t>& bytes, double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

std::vector<uint8_t> BankHeader()
{
    std::vector<uint8_t> bytes = {0x74, 0x66, 0x66, 0x70};
    AppendInt32(bytes, 0x10000);
    return bytes;
}

void AppendSlot(std::vector<uint8_t>& bytes, const std::string& name, bool inUse, double baseFreq)
{
    AppendInt32(bytes, static_cast<int32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(inUse ? 1 : 0);
    if (inUse)
        for (int p = 0; p < kParams; ++p)
            AppendDouble(bytes, p == kBaseFreq ? baseFreq : 0.0);
}

bool ParseBank(const std::vector<uint8_t>& chunk, std::vector<BankSlot>& slots)
{
    slots.clear();
    std::size_t at = 8;
    for (int s = 0; s < kSlots; ++s)
    {
        if (at + 4 > chunk.size())
            return false;
        const int32_t length = Int32At(chunk, at);
        at += 4;
        if (length < 0 || at + static_cast<std::size_t>(length) + 1 > chunk.size())
            return false;
        BankSlot slot;
        slot.name.assign(reinterpret_cast<const char*>(chunk.data() + at), static_cast<std::size_t>(length));
        at += static_cast<std::size_t>(length);
        slot.inUse = chunk[at++] != 0;
        if (slot.inUse)
        {
            if (at + kParams * 8 > chunk.size())
                return false;
            for (int p = 0; p < kParams; ++p, at += 8)
                slot.values.push_back(DoubleAt(chunk, at));
        }
        slots.push_back(std::move(slot));
    }
    return at == chunk.size();
}
} // namespace tpm
