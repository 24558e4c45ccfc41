// Rendering: placement of the two tones, mix, level and pan ramps, transport, glide and phases.
#include "FakeEngineHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tpm
{
namespace
{
constexpr double kTwoPi = Waveforms::kTwoPi;

class ToneAudio : public ::testing::Test
{
  protected:
    // A tone that sounds at once: "Play Anyway", full mix and a 1 ms glide.
    void OpenSounding(double rate = 48000.0)
    {
        h.liveRate = rate;
        h.values[kPlayAnyway] = 1;
        h.values[kMix] = 100;
        h.values[kFade] = 1;
        h.Open();
        h.Reset(); // the host sets the sample rate after opening
    }
    // Sine values along the phase path from `phase` with a fixed increment.
    static std::vector<double> SinePath(double phase, double inc, int n)
    {
        std::vector<double> v(n);
        for (int i = 0; i < n; ++i)
        {
            v[i] = std::sin(phase);
            phase = Waveforms::WrapPhase(phase + inc);
        }
        return v;
    }
    void Settle(int blocks = 2, int frames = 480)
    {
        for (int i = 0; i < blocks; ++i)
        {
            StereoBlock b(frames);
            b.Process(h);
        }
    }

    FakeEngineHost h;
};
} // namespace

TEST_F(ToneAudio, NothingHappensBeforeTheRestartParameterWasApplied)
{
    for (int i = 0; i < 22; ++i)
        h.Handle(ToParamId(i));
    StereoBlock b(64, 0.5, 0.5);
    b.outL.assign(64, 7.0);
    b.outR.assign(64, 7.0);
    b.Process(h);
    EXPECT_EQ(b.outL, std::vector<double>(64, 7.0));
    EXPECT_EQ(b.outR, std::vector<double>(64, 7.0));
    EXPECT_EQ(h.F().sampleRate, 0.0);
}

TEST_F(ToneAudio, FirstBlockRecomputesRateDependentValues)
{
    h.Open();
    Settle(1, 64);
    EXPECT_EQ(h.F().sampleRate, 48000.0);
    EXPECT_EQ(h.F().osc1IncTarget, 200.0 * (1.0 / 48000.0) * kTwoPi);
    EXPECT_EQ(h.F().glideSamples, 12000u); // "Fade" 1000 ms at 48 kHz
}

TEST_F(ToneAudio, BinauralPanPlacesTheTones)
{
    h.values[kBaseFreq] = 1000;
    h.values[kBinaural] = 10;
    OpenSounding();
    Settle();
    const int n = 256;
    auto expectBlock = [&](auto check) {
        const double inc1 = h.F().osc1Inc, inc2 = h.F().osc2Inc;
        const auto w = SinePath(h.F().osc1Phase, inc1, n);
        const auto v = SinePath(h.F().osc2Phase, inc2, n);
        StereoBlock b(n, 0.3, -0.2);
        b.Process(h);
        for (int i = 0; i < n; ++i)
            check(b.outL[i], b.outR[i], w[i], v[i]);
    };

    // Pan +1 (the default): oscillator 1 left, oscillator 2 right, input gone at full mix.
    expectBlock([](double l, double r, double w, double v) {
        EXPECT_NEAR(l, w, 1e-12);
        EXPECT_NEAR(r, v, 1e-12);
    });
    h.Set(kBinauralPan, 0);
    Settle(1);
    expectBlock([](double l, double r, double w, double v) {
        EXPECT_EQ(l, r);
        EXPECT_NEAR(l, 0.5 * (w + v), 1e-12);
    });
    h.Set(kBinauralPan, -100);
    Settle(1);
    expectBlock([](double l, double r, double w, double v) {
        EXPECT_NEAR(l, v, 1e-12);
        EXPECT_NEAR(r, w, 1e-12);
    });
}

TEST_F(ToneAudio, MonauralSumsBothTonesOnBothChannels)
{
    h.values[kBeats] = 1;
    h.values[kBinaural] = 0;
    h.values[kWave] = 1; // triangle: the sum of two equal tones reaches ±2
    OpenSounding();
    Settle();
    StereoBlock b(4800, 0.7, 0.7);
    const double phase = h.F().osc1Phase;
    b.Process(h);
    double peak = 0.0;
    for (int i = 0; i < 4800; ++i)
    {
        EXPECT_EQ(b.outL[i], b.outR[i]);
        peak = std::max(peak, std::fabs(b.outL[i]));
    }
    EXPECT_LE(peak, 2.0);
    EXPECT_GT(peak, 1.95);
    // With no offset from creation on, both phases stay equal and the output is 2 × wave(φ).
    EXPECT_EQ(h.F().osc1Phase, h.F().osc2Phase);
    EXPECT_EQ(b.outL[0], 2.0 * (phase < Waveforms::kPi ? phase * Waveforms::kTwoOverPi - 1.0
                                                       : 3.0 - phase * Waveforms::kTwoOverPi));
}

TEST_F(ToneAudio, MixBlendsToneAndInput)
{
    h.values[kMix] = 50;
    h.values[kPlayAnyway] = 1;
    h.values[kFade] = 1;
    h.Open();
    Settle();
    const auto w = SinePath(h.F().osc1Phase, h.F().osc1Inc, 128);
    StereoBlock half(128, 0.4, -0.4);
    half.Process(h);
    for (int i = 0; i < 128; ++i)
        EXPECT_NEAR(half.outL[i], 0.5 * w[i] + 0.2, 1e-12);

    // "Mix" 0 % still runs the tone, at 0.00001.
    h.Set(kMix, 0);
    EXPECT_EQ(h.F().levelTarget, 0.00001f);
    Settle(1);
    const double before = h.F().osc1Phase;
    StereoBlock none(128, 0.4, -0.4);
    none.Process(h);
    EXPECT_NE(h.F().osc1Phase, before);
    for (int i = 0; i < 128; ++i)
        EXPECT_NEAR(none.outL[i], 0.4, 2e-5);

    h.Set(kMix, 100);
    Settle(1);
    const auto w2 = SinePath(h.F().osc1Phase, h.F().osc1Inc, 128);
    StereoBlock full(128, 0.4, -0.4);
    full.Process(h);
    for (int i = 0; i < 128; ++i)
        EXPECT_NEAR(full.outL[i], w2[i], 1e-12);
}

TEST_F(ToneAudio, LevelMovesLinearlyWithinABlockThenSnaps)
{
    OpenSounding();
    Settle();
    h.Set(kMix, 50);
    const int n = 100;
    const auto w = SinePath(h.F().osc1Phase, h.F().osc1Inc, n);
    StereoBlock b(n);
    b.Process(h);
    const float step = (0.5f - 1.0f) / static_cast<float>(n);
    float level = 1.0f;
    for (int i = 0; i < n; ++i)
    {
        level += step;
        EXPECT_NEAR(b.outL[i], level * w[i], 1e-12) << i;
    }
    EXPECT_EQ(h.F().level, 0.5f);

    // A block of no frames only snaps level and pan to their goals.
    h.Set(kMix, 30);
    h.Set(kBinauralPan, -40);
    b.Process(h); // still 100 frames: pan ramps
    h.Set(kMix, 80);
    h.Set(kBinauralPan, 20);
    double* none[2] = {nullptr, nullptr};
    h.engine.ProcessBlock(none, none, 0, h.Transport());
    // 80 × 0.01 and 20 × 0.01 in single precision (both ties rounded to even).
    EXPECT_EQ(h.F().level, 0.79999995f);
    EXPECT_EQ(h.F().pan, 0.19999999f);
}

TEST_F(ToneAudio, TransportStopFadesOutThenPassesInputWithFrozenPhases)
{
    h.values[kMix] = 100;
    h.values[kFade] = 1;
    h.transport = 1;
    h.Open();
    Settle();
    h.transport = 0;
    const int n = 64;
    const auto w = SinePath(h.F().osc1Phase, h.F().osc1Inc, n);
    StereoBlock fade(n);
    fade.Process(h);
    float level = 1.0f;
    for (int i = 0; i < n; ++i)
    {
        level += -1.0f / n;
        EXPECT_NEAR(fade.outL[i], level * w[i], 1e-12);
    }
    EXPECT_EQ(h.F().level, 0.0f);

    const double frozen1 = h.F().osc1Phase, frozen2 = h.F().osc2Phase;
    StereoBlock pass(n, 0.25, -0.75);
    for (int i = 0; i < n; ++i)
        pass.inL[i] = 0.01 * i;
    pass.Process(h);
    EXPECT_EQ(pass.outL, pass.inL);
    EXPECT_EQ(pass.outR, pass.inR);
    EXPECT_EQ(h.F().osc1Phase, frozen1);
    EXPECT_EQ(h.F().osc2Phase, frozen2);

    // Recording counts as running: the tone rises from 0 where the phases stopped.
    h.transport = 2;
    StereoBlock resume(n);
    resume.Process(h);
    EXPECT_NEAR(resume.outL[0], (1.0f / n) * std::sin(frozen1), 1e-12);
    EXPECT_EQ(h.F().level, 1.0f);
}

TEST_F(ToneAudio, ProcessesInPlace)
{
    h.values[kMix] = 50;
    OpenSounding();
    h.Set(kMix, 50);
    Settle();
    const auto w = SinePath(h.F().osc1Phase, h.F().osc1Inc, 32);
    std::vector<double> left(32, 0.6), right(32, -0.6);
    double* io[2] = {left.data(), right.data()};
    h.engine.ProcessBlock(io, io, 32, h.Transport());
    for (int i = 0; i < 32; ++i)
        EXPECT_NEAR(left[i], 0.5 * w[i] + 0.3, 1e-12);
}

TEST_F(ToneAudio, GlideRemovesTheBlockShareOfTheRemainingDifference)
{
    // "Fade" 1000 ms at 44.1 kHz glides over 11 025 samples: each 512-sample block covers
    // 512/11 025 of what remains.
    h.values[kPlayAnyway] = 1;
    OpenSounding(44100.0);
    h.Set(kFade, 1000);
    EXPECT_EQ(h.F().glideSamples, 11025u);
    h.Set(kBaseFreq, 200);
    const double target = h.F().osc1IncTarget;
    double remaining = target - h.F().osc1Inc;
    ASSERT_EQ(remaining, target); // increments start at 0: the first tone glides up from 0 Hz
    for (int block = 0; block < 4; ++block)
    {
        Settle(1, 512);
        const double now = target - h.F().osc1Inc;
        EXPECT_NEAR(now / remaining, 1.0 - 512.0 / 11025.0, 1e-12);
        remaining = now;
    }
    // Oscillator 2 glides alongside towards base + binaural.
    EXPECT_NEAR((h.F().osc2IncTarget - h.F().osc2Inc) / h.F().osc2IncTarget,
                std::pow(1.0 - 512.0 / 11025.0, 4), 1e-12);

    // When the glide is shorter than a block, the target is reached within the block.
    h.Set(kFade, 10);
    EXPECT_EQ(h.F().glideSamples, 110u);
    Settle(1, 512);
    EXPECT_NEAR(h.F().osc1Inc, target, target * 1e-12);
}

TEST_F(ToneAudio, GlideLengthFromFadeAndSampleRate)
{
    struct Case
    {
        double rate;
        double fadeMs;
        uint32_t samples;
    };
    for (const Case c : {Case{48000, 1000, 12000}, Case{8000, 1, 2}, Case{384000, 90000, 8640000},
                         Case{44100, 10, 110}, Case{6000, 1, 2} /* 1.5 rounds up */, Case{22050, 2, 11}})
    {
        FakeEngineHost host;
        host.liveRate = c.rate;
        host.values[kFade] = c.fadeMs;
        host.Open();
        host.Reset();
        EXPECT_EQ(host.F().glideSamples, c.samples) << c.rate << " " << c.fadeMs;
    }
}

TEST_F(ToneAudio, PhasesStayInRangeWhenIncrementsExceedAFullTurn)
{
    // 20 512 Hz at 8000 Hz is more than 2π per sample; the triangle formula would run away
    // with a phase above 2π.
    h.values[kBaseFreq] = 20000;
    h.values[kBinaural] = 512;
    h.values[kWave] = 1;
    OpenSounding(8000.0);
    ASSERT_GT(h.F().osc2IncTarget, kTwoPi);
    for (int block = 0; block < 50; ++block)
    {
        StereoBlock b(333);
        b.Process(h);
        for (int i = 0; i < 333; ++i)
        {
            ASSERT_LE(std::fabs(b.outL[i]), 1.0);
            ASSERT_LE(std::fabs(b.outR[i]), 1.0);
        }
        ASSERT_GE(h.F().osc1Phase, 0.0);
        ASSERT_LT(h.F().osc1Phase, kTwoPi);
        ASSERT_GE(h.F().osc2Phase, 0.0);
        ASSERT_LT(h.F().osc2Phase, kTwoPi);
    }
}

TEST_F(ToneAudio, EveryParameterExtremeStaysFiniteAtTheRateLimits)
{
    for (const double rate : {8000.0, 384000.0})
    {
        for (int idx = 0; idx < kParamCount; ++idx)
        {
            for (const bool atMax : {false, true})
            {
                FakeEngineHost host;
                host.liveRate = rate;
                host.values[kPlayAnyway] = 1;
                host.values[kMix] = 100;
                host.values[kFade] = 1;
                // Both LFOs busy, one on the base frequency at full depth, a fast free rate.
                host.values[kLfo1Target] = 1;
                host.values[kLfo1Depth] = 100;
                host.values[kLfo1Sync] = 0;
                host.values[kLfo1RateMs] = 60;
                host.values[kLfo2Target] = 2;
                host.values[kWave] = 6;
                host.values[idx] = atMax ? FakeEngineHost::kMax[idx] : FakeEngineHost::kMin[idx];
                host.Open();
                for (int block = 0; block < 4; ++block)
                {
                    StereoBlock b(1000);
                    b.Process(host);
                    for (int i = 0; i < 1000; ++i)
                    {
                        ASSERT_TRUE(std::isfinite(b.outL[i]) && std::isfinite(b.outR[i]))
                            << rate << " param " << idx << (atMax ? " max" : " min");
                        ASSERT_LE(std::fabs(b.outL[i]), 2.0);
                    }
                }
                const ToneEngineFields& f = host.F();
                for (const double v : {f.osc1Inc, f.osc2Inc, f.lfo[0].inc, f.lfo[1].inc, f.osc1Phase,
                                       f.osc2Phase, f.lfo[0].phase, f.lfo[1].phase})
                    ASSERT_TRUE(std::isfinite(v)) << rate << " param " << idx;
                ASSERT_LT(f.lfo[0].phase, kTwoPi);
                ASSERT_LT(f.osc1Phase, kTwoPi);
            }
        }
    }
}
} // namespace tpm
