// Runs a plug-in over a stream one block at a time: interleaved input in, interleaved output out,
// through the double-precision process callback where the plug-in offers it (the float one
// otherwise), with the transport moved on after each block.
#pragma once

#include "tools/hostkit/HostedInstance.h"

#include <vector>

namespace tpm
{
class BlockRenderer
{
  public:
    BlockRenderer(HostedInstance& plugin, int channels, int blockSize);

    // `frames` (at most the block size) frames of `inputChannels`-channel input (null: silence) into
    // `output`. Plug-in channel c reads input channel c, or the input's last one when it has fewer.
    void Process(const float* input, int inputChannels, float* output, int frames);
    bool UsesDoublePrecision() const { return doublePrecision; }

  private:
    // One buffer per channel the plug-in has (at least the stream's), so it never reads or writes
    // past the arrays it is given; channels beyond the stream's stay silent or are dropped.
    template <typename Sample> struct Planes
    {
        std::vector<std::vector<Sample>> in, out;
        std::vector<Sample*> inPointers, outPointers;
    };
    template <typename Sample> void Allocate(Planes<Sample>& planes, std::size_t blockSize);
    template <typename Sample>
    void Run(Planes<Sample>& planes, const float* input, int inputChannels, float* output, int frames);

    HostedInstance& plugin;
    int channels;
    bool doublePrecision;
    // The input planes hold silence from an earlier block: a silent block need not clear them.
    bool inputSilent = true;
    Planes<float> floats;
    Planes<double> doubles;
};
} // namespace tpm
