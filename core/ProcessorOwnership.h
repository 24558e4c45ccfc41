// Who may touch the processor (the engine behind the audio blocks and the channel buffers) right
// now. The audio thread takes it for each block and never waits for it: a block that finds it taken
// passes its input through. Other threads take it only while no audio runs, or for a moment to
// exchange buffers, and may wait for the block in progress; or, when blocks have stopped coming, try
// to take it without waiting. Everything else they change reaches the
// processor as a queued change that the holder applies.
#pragma once

#include <atomic>

namespace tpm
{
class ProcessorOwnership
{
  public:
    ProcessorOwnership() = default;
    ProcessorOwnership(const ProcessorOwnership&) = delete;
    ProcessorOwnership& operator=(const ProcessorOwnership&) = delete;

    // The audio thread, at the start of a block; false when another thread holds it.
    bool TryTakeForAudio();
    // Any other thread; waits for a running block. Re-entrant on the holding thread.
    void Take();
    // Any other thread, never waiting: false when another thread holds it.
    bool TryTake();
    void Release();
    bool HeldHere() const { return heldHere == this; }
    // Whether this thread is inside an audio block of any instance.
    static bool InAudioBlock() { return audioBlock; }

  private:
    void Hold(bool audio);

    std::atomic<bool> taken{false};
    // Touched only by the holder.
    int depth = 0;
    const ProcessorOwnership* heldBefore = nullptr;
    bool audioBefore = false;
    static thread_local const ProcessorOwnership* heldHere;
    static thread_local bool audioBlock;
};

// Holds the processor for a scope, on a thread that may wait.
class ProcessorGuard
{
  public:
    explicit ProcessorGuard(ProcessorOwnership& o) : ownership(o) { ownership.Take(); }
    ~ProcessorGuard() { ownership.Release(); }
    ProcessorGuard(const ProcessorGuard&) = delete;
    ProcessorGuard& operator=(const ProcessorGuard&) = delete;

  private:
    ProcessorOwnership& ownership;
};
} // namespace tpm
