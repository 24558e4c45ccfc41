// Writes an LV2 event port's atom sequence holding the host's transport as a time:Position object, the
// way LV2 hosts tell plug-ins their tempo, speed and place in the bar.
#pragma once

#include "tools/hostkit/Lv2UridMap.h"

#include <lv2/atom/atom.h>

#include <cstdint>
#include <vector>

namespace tpm
{
struct Lv2Position
{
    int64_t frame = 0;
    float speed = 0.0f; // 1 playing, 0 stopped
    float beatsPerMinute = 120.0f;
    float beatsPerBar = 4.0f;
    int64_t beatUnit = 4;
    int64_t bar = 0;
    float barBeat = 0.0f;
};

class Lv2PositionWriter
{
  public:
    // capacity: the bytes of the port's buffer.
    Lv2PositionWriter(Lv2UridMap& map, std::size_t capacity);

    // The port's buffer: pass it to connect_port once.
    void* Buffer() { return buffer.data(); }
    // Empties the sequence for the next run.
    void Clear();
    // Adds a position at `offset` frames into the next run; false when the buffer is full.
    bool Add(int64_t offset, const Lv2Position& position);
    // Adds any atom (its header and `atom.size` bytes of body after it) at `offset`; false when full.
    bool AddAtom(int64_t offset, const LV2_Atom& atom);

  private:
    bool Append(const void* data, std::size_t size);

    std::vector<uint64_t> buffer; // atoms are 8-byte aligned
    uint32_t sequenceType, objectType, positionType, floatType, longType;
    uint32_t speedKey, bpmKey, beatsPerBarKey, beatUnitKey, barKey, barBeatKey, frameKey;
};
} // namespace tpm
