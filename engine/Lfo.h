// One modulation LFO: wave, rate (free or tempo-synced), swing and start phase, stepped once per
// sample while it drives one of the tone's working values. The engine decides what it drives.
#pragma once

#include "engine/ParamId.h"
#include "engine/ToneEnums.h"
#include "engine/Waveforms.h"

#include <cstdint>

namespace tpm
{
// What an LFO's position marker in the editor shows; plain values the editor reads when it draws.
struct LfoGraphValues
{
    float rangeLo = 0.0f;
    float rangeHi = 0.0f;
    float position = 0.0f;
    bool running = false;
    bool blocked = false;
};

class Lfo
{
  public:
    static constexpr float kSquareSmoothIn = 1.0f - 0.99f;
    static constexpr float kSquareSmoothKeep = 0.99f;
    static constexpr int kDivisionCount = 31;
    // 2π × 1000: a period in milliseconds to radians per second.
    static constexpr double kTwoPiMsPerSecond = 6283.185307179586;

    // Value at the current phase, then one sample's advance; returns scale × value + offset.
    // Inlined by force into the render loop, where it runs once a frame per LFO.
    [[gnu::always_inline]] double Step()
    {
        const double x = Waveforms::LfoValue(wave, phase, squareState, kSquareSmoothIn, kSquareSmoothKeep);
        phase = Waveforms::WrapPhase(phase + inc);
        return static_cast<double>(scale) * x + static_cast<double>(offset);
    }

    // Steps `n` times, writing each output to out[0..n-1]; the wave is looked up once, not per
    // sample. Leaves the last output in graph.position.
    void Run(double* out, int n);

    // Back to the start phase: the start fraction of the period plus a per-wave offset.
    void Restart();
    // Swing for a target range [lo, hi] centred on `centre` as far as the range allows.
    // Frequency targets scale with depth⁴ so that small depths stay subtle.
    void SetupDepth(float lo, float hi, float centre, bool fourthPower);
    // Rates keep the previous increment when the result would not be a finite positive number.
    void SetFreeRate(double periodMs, double sampleRate);
    void SetSyncedRate(int division, double samplesPerWholeNote);

    // Length of tempo division 0..30 in whole notes, in single precision.
    static float DivisionLength(int division);
    // The division whose increment is nearest to `increment` (0..31; 31 when slower than all).
    static int NearestSyncDivision(double increment, double samplesPerWholeNote);

    double inc = 0.0;
    double phase = 0.0;
    double squareState = 0.0;
    LfoTarget target = LfoTarget::kNone;
    // The parameter whose working value the LFO drives.
    ParamId targetParam = ParamId::kBaseFreq;
    int16_t wave = 0;
    float offset = 0.0f;
    float scale = 0.0f;
    float depth = 0.0f;
    float start = 0.0f;
    bool active = false;
    bool sync = true;
    LfoGraphValues graph;
};
} // namespace tpm
