// Runs a plug-in over a stream one block at a time: interleaved input in, interleaved output out,
// through the single- or double-precision process callback, with the transport moved on after each.
#pragma once

#include "tools/hostkit/HostedPlugin.h"

#include <vector>

class BlockRenderer
{
  public:
    BlockRenderer(HostedPlugin& plugin, int channels, int blockSize, bool doublePrecision);

    // `frames` (at most the block size) frames of `inputChannels`-channel input (null: silence) into
    // `output`. Plug-in channel c reads input channel c, or the input's last one when it has fewer.
    void Process(const float* input, int inputChannels, float* output, int frames);

  private:
    template <typename Sample>
    void Run(std::vector<std::vector<Sample>>& in, std::vector<std::vector<Sample>>& out, const float* input,
             int inputChannels, float* output, int frames);

    HostedPlugin& plugin;
    int channels;
    bool doublePrecision;
    std::vector<std::vector<float>> floatIn, floatOut;
    std::vector<std::vector<double>> doubleIn, doubleOut;
};
