// The audio thread's half of the player: runs the plug-in over each device buffer, feeds it the
// chosen input, plays a schedule's steps on their frames, applies the end-of-play fades and counts
// the device's underruns. Everything is allocated in the constructor (or the schedule runner's);
// Render never locks, allocates, waits or does I/O.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/ScheduleRunner.h"
#include "tools/player/LoopedInput.h"
#include "tools/player/OutputFade.h"

#include <atomic>
#include <vector>

namespace tpm
{
struct PlaybackSetup
{
    int blockFrames = 256; // the block size the plug-in was told; longer buffers go in pieces
    LoopedInput* fileInput = nullptr;
    int liveInputChannels = 0;  // interleaved channels of the device input given to Render
    long long sleepFrames = -1; // < 0: until stopped
    long long sleepFadeFrames = 0;
    long long stopFadeFrames = 1;
    ScheduleRunner* schedule = nullptr; // splits buffers where its steps and ramp updates fall
    long long endFrames = -1;           // the schedule's end, reached over the stop fade; < 0: none
};

class PlaybackRenderer
{
  public:
    PlaybackRenderer(HostedInstance& plugin, const PlaybackSetup& setup);

    // Audio thread: `frames` interleaved stereo frames into `out`; `liveIn` holds the device input
    // when live input was set up.
    void Render(float* out, const float* liveIn, int frames, bool underflow);

    // Any thread: fade out and fall silent.
    void RequestStop() { stopRequested.store(true, std::memory_order_relaxed); }
    bool Finished() const { return finished.load(std::memory_order_acquire); }
    long long FramesPlayed() const { return framesPlayed.load(std::memory_order_relaxed); }
    long long Underruns() const { return underruns.load(std::memory_order_relaxed); }
    // The longest a Render call took, in nanoseconds: how close the callback came to its deadline.
    long long LongestRenderNs() const { return longestRenderNs.load(std::memory_order_relaxed); }
    // Samples sent to the device beyond full scale (the device clips them), and the largest magnitude.
    long long ClippedSamples() const { return clippedSamples.load(std::memory_order_relaxed); }
    float Peak() const { return peak.load(std::memory_order_relaxed); }

  private:
    template <typename Sample> struct Planar
    {
        std::vector<std::vector<Sample>> in, out;
        std::vector<Sample*> inPointers, outPointers;
    };
    template <typename Sample> void Allocate(Planar<Sample>& buffers);
    template <typename Sample>
    void RenderBlock(Planar<Sample>& buffers, float* out, const float* liveIn, int frames);
    void CountClipping(const float* out, int samples);

    HostedInstance& plugin;
    PlaybackSetup setup;
    bool doublePrecision;
    Planar<float> floats;
    Planar<double> doubles;
    OutputFade fade;
    long long position = 0; // frames through the plug-in so far, the schedule's clock
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> finished{false};
    std::atomic<long long> framesPlayed{0};
    std::atomic<long long> underruns{0};
    std::atomic<long long> longestRenderNs{0}; // written by the audio thread only
    std::atomic<long long> clippedSamples{0};  // written by the audio thread only
    std::atomic<float> peak{0.0f};             // written by the audio thread only
};
} // namespace tpm
