#include "engine/EngineDisplay.h"

#include <bit>

namespace
{
constexpr uint64_t kRunning = uint64_t{1} << 32;
constexpr uint64_t kBlocked = uint64_t{1} << 33;
constexpr uint64_t kSynced = uint64_t{1} << 34;

uint64_t Pack(float low, float high)
{
    return std::bit_cast<uint32_t>(low) | uint64_t{std::bit_cast<uint32_t>(high)} << 32;
}

float Low(uint64_t word)
{
    return std::bit_cast<float>(static_cast<uint32_t>(word));
}

float High(uint64_t word)
{
    return std::bit_cast<float>(static_cast<uint32_t>(word >> 32));
}
} // namespace

void EngineDisplay::PublishLfo(int k, const LfoGraphValues& graph, bool synced)
{
    LfoSlot& slot = lfo[k == 0 ? 0 : 1];
    slot.range.store(Pack(graph.rangeLo, graph.rangeHi), std::memory_order_relaxed);
    uint64_t marker = std::bit_cast<uint32_t>(graph.position);
    marker |= graph.running ? kRunning : 0;
    marker |= graph.blocked ? kBlocked : 0;
    marker |= synced ? kSynced : 0;
    slot.marker.store(marker, std::memory_order_relaxed);
}

EngineDisplay::Snapshot EngineDisplay::Read() const
{
    Snapshot s;
    s.band = bandText.load(std::memory_order_relaxed);
    for (int k = 0; k < 2; ++k)
    {
        const uint64_t range = lfo[k].range.load(std::memory_order_relaxed);
        const uint64_t marker = lfo[k].marker.load(std::memory_order_relaxed);
        LfoView& v = s.lfo[k];
        v.marker.rangeLo = Low(range);
        v.marker.rangeHi = High(range);
        v.marker.position = Low(marker);
        v.marker.running = (marker & kRunning) != 0;
        v.marker.blocked = (marker & kBlocked) != 0;
        v.synced = (marker & kSynced) != 0;
    }
    return s;
}
