// The byte layout of the state chunks: a program chunk (the live values) and a bank chunk (every
// preset slot with name, in-use flag and values), each behind the magic "tffp" and a version. It
// works on plain copies of the state, so neither encoding nor decoding needs the plug-in lock.
#pragma once

#include "core/ByteBuffer.h"
#include "core/PresetRecord.h"

#include <cstdint>
#include <vector>

namespace tpm
{
// One slot's state, copied out of the plug-in or decoded from a bank chunk.
struct PresetState
{
    PresetRecord::Name name;
    bool inUse = false;
    std::vector<double> values;
};

class ChunkCodec
{
  public:
    static constexpr uint8_t kMagic[4] = {0x74, 0x66, 0x66, 0x70};
    static constexpr int32_t kVersion = 0x10000;

    // What an incoming chunk holds, from its header.
    struct Header
    {
        int32_t version = 0;
        int start = 0; // where the body begins; -1 when nothing can be read
    };

    // Each encoder appends header and body; false when memory runs out.
    static bool WriteProgram(ByteBuffer& out, const std::vector<double>& values);
    static bool WriteBank(ByteBuffer& out, const std::vector<PresetState>& slots, int paramCount);

    // With the magic, the version follows it and the body starts at 8; without, the whole block
    // is a program body (version 0).
    static Header ReadHeader(const ByteBuffer& in);
    // Decoders fill a whole set or answer false: data that runs short anywhere is not to be applied.
    // `values` and each slot's values must hold paramCount entries; they are overwritten in place.
    static bool ReadProgram(const ByteBuffer& in, int pos, std::vector<double>& values);
    static bool ReadBank(const ByteBuffer& in, int pos, std::vector<PresetState>& slots);
};
} // namespace tpm
