#include "tools/vsthost/BlockRenderer.h"

#include "core/SampleCopy.h"

#include <algorithm>

namespace tpm
{
BlockRenderer::BlockRenderer(HostedInstance& hosted, int channelCount, int blockSize)
    : plugin(hosted), channels(channelCount), doublePrecision(hosted.SupportsDouble())
{
    const auto size = static_cast<std::size_t>(blockSize);
    if (doublePrecision)
        Allocate(doubles, size);
    else
        Allocate(floats, size);
}

template <typename Sample> void BlockRenderer::Allocate(Planes<Sample>& planes, std::size_t blockSize)
{
    planes.in.assign(static_cast<std::size_t>(std::max(channels, plugin.InputCount())),
                     std::vector<Sample>(blockSize));
    planes.out.assign(static_cast<std::size_t>(std::max(channels, plugin.OutputCount())),
                      std::vector<Sample>(blockSize));
    for (auto& plane : planes.in)
        planes.inPointers.push_back(plane.data());
    for (auto& plane : planes.out)
        planes.outPointers.push_back(plane.data());
}

void BlockRenderer::Process(const float* input, int inputChannels, float* output, int frames)
{
    if (doublePrecision)
        Run(doubles, input, inputChannels, output, frames);
    else
        Run(floats, input, inputChannels, output, frames);
}

template <typename Sample>
void BlockRenderer::Run(Planes<Sample>& planes, const float* input, int inputChannels, float* output,
                        int frames)
{
    const auto n = static_cast<std::size_t>(frames);
    const bool silent = !input || inputChannels < 1;
    if (!silent)
    {
        const auto stride = static_cast<std::size_t>(inputChannels);
        for (int c = 0; c < channels; ++c)
            SampleCopy::Extract(input, stride, static_cast<std::size_t>(std::min(c, inputChannels - 1)),
                                planes.in[static_cast<std::size_t>(c)].data(), n);
    }
    else if (!inputSilent)
    {
        for (auto& plane : planes.in)
            std::fill(plane.begin(), plane.end(), Sample{});
    }
    inputSilent = silent;

    plugin.Process(planes.inPointers.data(), planes.outPointers.data(), frames);
    plugin.Advance(frames);

    if (channels == 2)
        SampleCopy::InterleavePair(planes.out[0].data(), planes.out[1].data(), output, n);
    else
        SampleCopy::Convert(planes.out[0].data(), output, n);
}
} // namespace tpm
