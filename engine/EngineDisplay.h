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
#include <cstdint>

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
    void PublishLfo(int k, const LfoGraphValues& graph, bool synced);

    // For any thread.
    Snapshot Read() const;

  private:
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
