// The one path by which a change made on another thread (the host's main thread, the editor, a program
// change or a state load) reaches the processor. Thread rules:
// - A parameter's value is an atomic the changing thread stores at once, so every read-back is the
//   newest value straight away; only what the processor must do about it waits here.
// - What waits is one mark per parameter (run its handler, optionally after an LFO sync click) and one
//   for a reset: marking an already marked parameter costs nothing, so however many changes come
//   between two blocks, the processor runs each handler at most once, on the newest value.
// - The holder of the processor (the audio thread at the start of a block, or another thread that took
//   it while no block runs) takes every mark at once and applies them; marking and taking never wait
//   and never allocate.
// - A momentary parameter (a button) also leaves a press mark: pressed and let go again before the
//   processor takes its marks, the press still counts, as it did when each value was applied.
#pragma once

#include <atomic>
#include <cstdint>

namespace tpm
{
class PendingChanges
{
  public:
    static constexpr int kMaxParams = 64;

    struct Taken
    {
        bool reset = false;
        uint64_t handles = 0;    // bit i: run parameter i's handler
        uint64_t syncClicks = 0; // bit i: the engine hears of a sync click just before that handler
        uint64_t presses = 0;    // bit i: the engine hears of a press just before that handler
    };

    void MarkHandle(int paramIdx);
    void MarkSyncClickThenHandle(int paramIdx);
    void MarkPressThenHandle(int paramIdx);
    void MarkReset();
    bool Empty() const;
    // Everything marked so far; a mark made meanwhile stays for the next taker.
    Taken TakeAll();

  private:
    static uint64_t Bit(int paramIdx);
    static uint64_t TakeBefore(std::atomic<uint64_t>& marks, uint64_t handlesTaken);

    std::atomic<uint64_t> handles{0};
    std::atomic<uint64_t> syncClicks{0};
    std::atomic<uint64_t> presses{0};
    std::atomic<bool> reset{false};
};
} // namespace tpm
