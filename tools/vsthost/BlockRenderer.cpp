#include "tools/vsthost/BlockRenderer.h"

#include <algorithm>

BlockRenderer::BlockRenderer(HostedPlugin& hosted, int channelCount, int blockSize, bool useDouble)
    : plugin(hosted), channels(channelCount), doublePrecision(useDouble)
{
    const auto planes = static_cast<std::size_t>(channels);
    const auto size = static_cast<std::size_t>(blockSize);
    if (doublePrecision)
    {
        doubleIn.assign(planes, std::vector<double>(size));
        doubleOut.assign(planes, std::vector<double>(size));
    }
    else
    {
        floatIn.assign(planes, std::vector<float>(size));
        floatOut.assign(planes, std::vector<float>(size));
    }
}

void BlockRenderer::Process(const float* input, int inputChannels, float* output, int frames)
{
    if (doublePrecision)
        Run(doubleIn, doubleOut, input, inputChannels, output, frames);
    else
        Run(floatIn, floatOut, input, inputChannels, output, frames);
}

template <typename Sample>
void BlockRenderer::Run(std::vector<std::vector<Sample>>& in, std::vector<std::vector<Sample>>& out,
                        const float* input, int inputChannels, float* output, int frames)
{
    const auto n = static_cast<std::size_t>(frames);
    for (int c = 0; c < channels; ++c)
    {
        Sample* plane = in[static_cast<std::size_t>(c)].data();
        if (!input || inputChannels < 1)
        {
            std::fill(plane, plane + n, Sample{});
            continue;
        }
        const int from = std::min(c, inputChannels - 1);
        const auto stride = static_cast<std::size_t>(inputChannels);
        for (std::size_t i = 0; i < n; ++i)
            plane[i] = input[i * stride + static_cast<std::size_t>(from)];
    }
    Sample* inputs[2] = {in[0].data(), channels > 1 ? in[1].data() : nullptr};
    Sample* outputs[2] = {out[0].data(), channels > 1 ? out[1].data() : nullptr};
    AEffect* e = plugin.Effect();
    if constexpr (sizeof(Sample) == sizeof(double))
        e->processDoubleReplacing(e, inputs, outputs, frames);
    else
        e->processReplacing(e, inputs, outputs, frames);
    plugin.Advance(frames);
    const auto stride = static_cast<std::size_t>(channels);
    for (int c = 0; c < channels; ++c)
    {
        const Sample* plane = out[static_cast<std::size_t>(c)].data();
        for (std::size_t i = 0; i < n; ++i)
            output[i * stride + static_cast<std::size_t>(c)] = static_cast<float>(plane[i]);
    }
}
