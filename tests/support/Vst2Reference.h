// The VST2 module as the reference another format's build is compared with: opened and started
// with the given transport and program, processing a part of a stereo block in place, so that a
// parameter change at a frame is a block cut there.
#pragma once

#include "support/TestModule.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tpm
{
// The input both builds get: two slow sines a quarter of full scale, continuing from block to block.
template <typename Sample>
void FillTestInput(std::vector<Sample>& left, std::vector<Sample>& right, int block)
{
    const auto frames = static_cast<int>(left.size());
    for (int i = 0; i < frames; ++i)
    {
        const double t = (block * frames + i) * 0.01;
        left[static_cast<std::size_t>(i)] = static_cast<Sample>(0.25 * std::sin(t));
        right[static_cast<std::size_t>(i)] = static_cast<Sample>(0.25 * std::cos(t));
    }
}

struct Vst2Reference
{
    std::unique_ptr<Vst2HostedPlugin> vst;
    Vst2Reference(bool playing, int program, int blockSize, double sampleRate = 48000.0)
    {
        HostSettings settings;
        settings.sampleRate = sampleRate;
        settings.blockSize = blockSize;
        settings.playing = playing;
        settings.recordCalls = false;
        vst = LoadTestModule(settings);
        vst->Start();
        if (program >= 0)
            vst->Dispatch(vst::effSetProgram, 0, program);
    }
    void SetNormalized(int param, float normalized)
    {
        vst->Effect()->setParameter(vst->Effect(), param, normalized);
    }
    // Frames [from, from + n) of left and right, input in and output out.
    template <typename Sample>
    void Process(std::vector<Sample>& left, std::vector<Sample>& right, int from, int n)
    {
        Sample* ins[2] = {left.data() + from, right.data() + from};
        std::vector<Sample> outL(static_cast<std::size_t>(n)), outR(static_cast<std::size_t>(n));
        Sample* outs[2] = {outL.data(), outR.data()};
        if constexpr (sizeof(Sample) == 8)
            vst->Effect()->processDoubleReplacing(vst->Effect(), ins, outs, n);
        else
            vst->Effect()->processReplacing(vst->Effect(), ins, outs, n);
        std::copy(outL.begin(), outL.end(), left.begin() + from);
        std::copy(outR.begin(), outR.end(), right.begin() + from);
        vst->Advance(n);
    }
};
} // namespace tpm
