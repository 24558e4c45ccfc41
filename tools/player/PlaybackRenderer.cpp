#include "tools/player/PlaybackRenderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace tpm
{
PlaybackRenderer::PlaybackRenderer(HostedInstance& plugin, const PlaybackSetup& setup)
    : plugin(plugin), setup(setup), doublePrecision(plugin.SupportsDouble()),
      fade(setup.sleepFrames, setup.sleepFadeFrames, setup.stopFadeFrames)
{
    fade.EndAt(setup.endFrames);
    this->setup.blockFrames = std::max(1, setup.blockFrames);
    if (doublePrecision)
        Allocate(doubles);
    else
        Allocate(floats);
}

template <typename Sample> void PlaybackRenderer::Allocate(Planar<Sample>& buffers)
{
    const auto size = static_cast<std::size_t>(setup.blockFrames);
    buffers.in.assign(static_cast<std::size_t>(std::max(0, plugin.InputCount())), std::vector<Sample>(size));
    buffers.out.assign(static_cast<std::size_t>(std::max(0, plugin.OutputCount())),
                       std::vector<Sample>(size));
    for (auto& channel : buffers.in)
        buffers.inPointers.push_back(channel.data());
    for (auto& channel : buffers.out)
        buffers.outPointers.push_back(channel.data());
}

void PlaybackRenderer::Render(float* out, const float* liveIn, int frames, bool underflow)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point began = Clock::now();
    HostedInstance::MarkRealTimeThread();
    if (underflow)
        underruns.fetch_add(1, std::memory_order_relaxed);
    if (stopRequested.load(std::memory_order_relaxed))
        fade.BeginStop();
    for (int done = 0; done < frames;)
    {
        int block = std::min(setup.blockFrames, frames - done);
        if (setup.schedule && !fade.Silent())
            block = setup.schedule->Prepare(position, block);
        float* blockOut = out + 2 * done;
        const float* blockIn =
            liveIn ? liveIn + static_cast<std::ptrdiff_t>(setup.liveInputChannels) * done : nullptr;
        if (fade.Silent())
            std::memset(blockOut, 0, sizeof(float) * 2 * static_cast<std::size_t>(block));
        else if (doublePrecision)
            RenderBlock(doubles, blockOut, blockIn, block);
        else
            RenderBlock(floats, blockOut, blockIn, block);
        done += block;
        position += block;
    }
    framesPlayed.fetch_add(frames, std::memory_order_relaxed);
    if (fade.Silent())
        finished.store(true, std::memory_order_release);
    const long long took = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - began).count();
    if (took > longestRenderNs.load(std::memory_order_relaxed))
        longestRenderNs.store(took, std::memory_order_relaxed);
}

template <typename Sample>
void PlaybackRenderer::RenderBlock(Planar<Sample>& buffers, float* out, const float* liveIn, int frames)
{
    // Whatever feeds the plug-in arrives as a stereo pair; a mono plug-in input takes the left.
    Sample* left = buffers.in.empty() ? nullptr : buffers.in[0].data();
    Sample* right = buffers.in.size() > 1 ? buffers.in[1].data() : nullptr;
    if (left)
    {
        if (setup.fileInput)
            setup.fileInput->Read(left, right ? right : left, frames);
        else if (liveIn && setup.liveInputChannels > 0)
            for (int i = 0; i < frames; ++i)
            {
                const float* frame = liveIn + static_cast<std::ptrdiff_t>(setup.liveInputChannels) * i;
                left[i] = static_cast<Sample>(frame[0]);
                if (right)
                    right[i] = static_cast<Sample>(frame[setup.liveInputChannels > 1 ? 1 : 0]);
            }
        else
            for (auto& channel : buffers.in)
                std::fill_n(channel.data(), frames, Sample{});
    }
    plugin.Process(buffers.inPointers.data(), buffers.outPointers.data(), frames);
    plugin.Advance(frames);
    const Sample* outLeft = buffers.out[0].data();
    const Sample* outRight = buffers.out.size() > 1 ? buffers.out[1].data() : outLeft;
    for (int i = 0; i < frames; ++i)
    {
        const float gain = fade.Next();
        out[2 * i] = static_cast<float>(outLeft[i]) * gain;
        out[2 * i + 1] = static_cast<float>(outRight[i]) * gain;
    }
    CountClipping(out, 2 * frames);
}

void PlaybackRenderer::CountClipping(const float* out, int samples)
{
    long long clipped = 0;
    float loudest = peak.load(std::memory_order_relaxed);
    for (int i = 0; i < samples; ++i)
    {
        const float magnitude = std::fabs(out[i]);
        // NaN fails the first test and counts too: the device cannot play it either.
        if (magnitude <= 1.0f)
            continue;
        ++clipped;
        loudest = std::fmax(loudest, magnitude);
    }
    if (clipped == 0)
        return;
    clippedSamples.fetch_add(clipped, std::memory_order_relaxed);
    peak.store(loudest, std::memory_order_relaxed);
}
} // namespace tpm
