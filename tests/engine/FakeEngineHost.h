// Stands in for the plug-in around the tone engine: parameter values, sample rate, tempo and
// transport that a test sets, and a record of the values the engine answered to write back.
#pragma once

#include "engine/ToneEngine.h"
#include "support/ParamIndex.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tpm
{
class FakeEngineHost : public IParamValues
{
  public:
    static constexpr std::array<double, kParamCount> kDefaults = {
        200, 4, 0, 100, 0, 0, 1000, 50, 0, 0, 1, 15, 2000, 90, 0, 0, 0, 1, 15, 2000, 90, 0, 0};
    static constexpr std::array<double, kParamCount> kMin = {20, 0, 0, -100, 0, 0, 1, 0,  0, 0, 0, 0,
                                                             60, 0, 0, 0,    0, 0, 0, 60, 0, 0, 0};
    static constexpr std::array<double, kParamCount> kMax = {
        20000, 512, 7, 100, 1, 1, 90000, 100, 4, 6, 1, 30, 64000, 100, 100, 4, 6, 1, 30, 64000, 100, 100, 1};

    ToneEngine engine{*this};
    std::array<double, kParamCount> values = kDefaults;
    double liveRate = 48000.0;
    double samplesPerBeat = 0.0;
    int transport = 0;

    std::vector<std::pair<int, double>> fromEngine;

    double ParamValue(ParamId param) const override { return values[ToIndex(param)]; }
    // Hands the engine a change and, as the plug-in does, stores what it writes back and hands
    // that change on.
    void Handle(ParamId param)
    {
        const ToneEngine::WriteBack back = engine.HandleParamChange(param);
        if (back.param == ParamId::kNone)
            return;
        const int paramIdx = ToIndex(back.param);
        fromEngine.emplace_back(paramIdx, back.value);
        values[paramIdx] = std::clamp(back.value, kMin[paramIdx], kMax[paramIdx]);
        Handle(back.param);
    }
    void Reset() { engine.Reset(liveRate); }
    ToneEngine::BlockTransport Transport() const { return {liveRate, samplesPerBeat, transport != 0}; }
    // Whether LFO k's rate shows as synced, as the engine publishes it.
    bool ShowsSynced(int k) const { return engine.Display().Read().lfo[k].synced; }

    // A change from outside, as the host's set-parameter call makes it.
    void Set(int paramIdx, double value)
    {
        values[paramIdx] = value;
        Handle(ToParamId(paramIdx));
    }
    // What the plug-in does when the host opens it: every parameter in index order.
    void Open()
    {
        for (int i = 0; i < kParamCount; ++i)
            Handle(ToParamId(i));
    }
    void SetTempo(double bpm) { samplesPerBeat = bpm > 0.0 ? liveRate / bpm * 60.0 : 0.0; }
    const ToneEngineFields& F() const { return engine.Fields(); }
    const Lfo& L(int k) const { return engine.Fields().lfo[k]; }
};

// Separate stereo input and output buffers for one block.
struct StereoBlock
{
    explicit StereoBlock(int frames, double inLeft = 0.0, double inRight = 0.0)
        : inL(frames, inLeft), inR(frames, inRight), outL(frames, 0.0), outR(frames, 0.0)
    {
    }
    void Process(FakeEngineHost& host)
    {
        double* in[2] = {inL.data(), inR.data()};
        double* out[2] = {outL.data(), outR.data()};
        host.engine.ProcessBlock(in, out, static_cast<int>(outL.size()), host.Transport());
    }
    std::vector<double> inL, inR, outL, outR;
};
} // namespace tpm
