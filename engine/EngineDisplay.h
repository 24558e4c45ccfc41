// What the engine shows the outside world, published for a reader on another thread: the band name,
// and for each LFO its marker (position within its range, running or blocked) and whether its rate is
// synced to the tempo. The engine writes whenever it has changed them (the audio thread after a block,
// or whoever changed a parameter); a reader takes a snapshot at any time without waiting. Each value
// that must agree with another shares one 64-bit atomic with it, so a snapshot never mixes a marker's
// position with another block's state; range and position may come from different moments, which
// moves the marker for one frame at most.
#pragma once

#include "engine/Lfo.h"

#include <atomic>
#include <bit>
#include <cstdint>

namespace tpm
{
class EngineDisplay
{
  public:
    struct LfoView
    {
        LfoGraphValues marker;
        bool synced = true;
    };
    struct Snapshot
    {
        const char* band = ""; // one of the engine's fixed texts
        LfoView lfo[2];
    };

    // For the engine. Band texts must live as long as the program (string literals).
    void PublishBand(const char* band) { bandText.store(band, std::memory_order_relaxed); }
    // Inline: the audio thread publishes both LFOs after every block.
    void PublishLfo(int k, const LfoGraphValues& graph, bool synced)
    {
        LfoSlot& slot = lfo[k == 0 ? 0 : 1];
        const uint64_t range =
            std::bit_cast<uint32_t>(graph.rangeLo) | uint64_t{std::bit_cast<uint32_t>(graph.rangeHi)} << 32;
        slot.range.store(range, std::memory_order_relaxed);
        uint64_t marker = std::bit_cast<uint32_t>(graph.position);
        marker |= graph.running ? kMarkerRunning : 0;
        marker |= graph.blocked ? kMarkerBlocked : 0;
        marker |= synced ? kMarkerSynced : 0;
        slot.marker.store(marker, std::memory_order_relaxed);
    }

    // For any thread.
    Snapshot Read() const;

  private:
    // The flags beside a marker's position in its word.
    static constexpr uint64_t kMarkerRunning = uint64_t{1} << 32;
    static constexpr uint64_t kMarkerBlocked = uint64_t{1} << 33;
    static constexpr uint64_t kMarkerSynced = uint64_t{1} << 34;

    struct LfoSlot
    {
        std::atomic<uint64_t> range{0};  // lo, hi
        std::atomic<uint64_t> marker{0}; // position, running, blocked, synced
    };
    static_assert(std::atomic<uint64_t>::is_always_lock_free);
    static_assert(std::atomic<const char*>::is_always_lock_free);

    std::atomic<const char*> bandText{""};
    LfoSlot lfo[2];
};
} // namespace tpm
