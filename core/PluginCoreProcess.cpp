// The process callbacks: each block holds the processor for its length (or passes its input through
// when it finds it taken) and hands the host's buffers to the BlockProcessor. They run on the audio
// thread, take no lock and never wait.
#include "core/PluginCore.h"

namespace tpm
{
// An audio block's hold on the processor: taken without waiting, with the queued changes applied
// first; at the end the block's own messages go to the host.
class PluginCore::AudioBlockScope
{
  public:
    AudioBlockScope(PluginCore& p, int frames) : plug(p), held(p.processor.TryTakeForAudio())
    {
        if (!held)
            return;
        // Read by other threads that wonder whether blocks still come; the steady clock is a cheap read.
        plug.lastBlockFrames.store(frames, std::memory_order_relaxed);
        plug.lastBlockStart.store(SteadyNanoseconds(), std::memory_order_release);
        // Blocks are coming, whatever the host said: from now on changes wait for them rather than
        // take the processor from under them.
        if (!plug.audioRunning.load(std::memory_order_relaxed))
            plug.audioRunning.store(true);
        plug.ApplyQueuedChanges();
    }
    ~AudioBlockScope()
    {
        if (!held)
            return;
        plug.messenger.SendBlockMessages();
        plug.processor.Release();
    }
    AudioBlockScope(const AudioBlockScope&) = delete;
    AudioBlockScope& operator=(const AudioBlockScope&) = delete;
    bool Held() const { return held; }

  private:
    PluginCore& plug;
    bool held;
};

void PluginCore::ProcessReplacing(float** inputs, float** outputs, int frames)
{
    AudioBlockScope block(*this, frames);
    if (block.Held())
        blocks.ProcessFloat(inputs, outputs, frames, *this);
    else
        blocks.PassThrough(inputs, outputs, frames);
}

void PluginCore::ProcessDoubleReplacing(double** inputs, double** outputs, int frames)
{
    AudioBlockScope block(*this, frames);
    if (block.Held())
        blocks.ProcessDouble(inputs, outputs, frames, *this);
    else
        blocks.PassThrough(inputs, outputs, frames);
}
} // namespace tpm
