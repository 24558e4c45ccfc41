#include "engine/EngineDisplay.h"

#include <bit>

namespace tpm
{
namespace
{
float Low(uint64_t word)
{
    return std::bit_cast<float>(static_cast<uint32_t>(word));
}

float High(uint64_t word)
{
    return std::bit_cast<float>(static_cast<uint32_t>(word >> 32));
}
} // namespace

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
        v.marker.running = (marker & kMarkerRunning) != 0;
        v.marker.blocked = (marker & kMarkerBlocked) != 0;
        v.synced = (marker & kMarkerSynced) != 0;
    }
    return s;
}
} // namespace tpm
