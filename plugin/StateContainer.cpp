#include "plugin/StateContainer.h"

#include "core/ChunkCodec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>

namespace tpm
{
namespace
{
void AppendU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t ReadU32(std::span<const uint8_t> data, std::size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | data[at + static_cast<std::size_t>(i)];
    return v;
}

uint64_t ReadU64(std::span<const uint8_t> data, std::size_t at)
{
    return uint64_t{ReadU32(data, at + 4)} << 32 | ReadU32(data, at);
}
} // namespace

bool StateContainer::Wrap(std::span<const uint8_t> bank, int paramCount, int currentProgram,
                          double editorScale, std::vector<uint8_t>& out)
{
    const bool withScale = editorScale > 0.0;
    std::vector<uint8_t> block;
    try
    {
        block.reserve(kHeaderBytesWithScale + bank.size());
        block.insert(block.end(), std::begin(kMagic), std::end(kMagic));
        AppendU32(block, withScale ? kVersion : 2);
        AppendU32(block, static_cast<uint32_t>(paramCount));
        AppendU32(block, static_cast<uint32_t>(currentProgram));
        if (withScale)
        {
            const uint64_t bits = std::bit_cast<uint64_t>(editorScale);
            AppendU32(block, static_cast<uint32_t>(bits));
            AppendU32(block, static_cast<uint32_t>(bits >> 32));
        }
        block.insert(block.end(), bank.begin(), bank.end());
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    out.swap(block);
    return true;
}

bool StateContainer::Unwrap(std::span<const uint8_t> data, int paramCount, std::span<const uint8_t>& bank,
                            int& currentProgram, double& editorScale)
{
    currentProgram = -1;
    editorScale = 0.0;
    if (data.size() < kHeaderBytesV1 || !std::equal(std::begin(kMagic), std::end(kMagic), data.begin()))
        bank = data;
    else
    {
        const uint32_t version = ReadU32(data, 4);
        const std::size_t header = version >= 3   ? kHeaderBytesWithScale
                                   : version >= 2 ? kHeaderBytes
                                                  : kHeaderBytesV1;
        if (version > kVersion || ReadU32(data, 8) != static_cast<uint32_t>(paramCount) ||
            data.size() < header)
            return false;
        if (version >= 2)
            currentProgram = static_cast<int32_t>(ReadU32(data, 12));
        if (version >= 3)
        {
            // A scale that is no number or out of range is taken as none, not as damage.
            const double scale = std::bit_cast<double>(ReadU64(data, 16));
            editorScale = std::isfinite(scale) && scale > 0.0 ? scale : 0.0;
        }
        bank = data.subspan(header);
    }
    return bank.size() >= 8 &&
           std::equal(std::begin(ChunkCodec::kMagic), std::end(ChunkCodec::kMagic), bank.begin()) &&
           static_cast<int32_t>(ReadU32(bank, 4)) >= ChunkCodec::kVersion;
}
} // namespace tpm
