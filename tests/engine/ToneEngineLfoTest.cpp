// The LFOs: targets and their ranges, depth, the one-target rule, start phases, restart, free
// and tempo-synced rates, and sync switching.
#include "FakeEngineHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tpm
{
namespace
{
constexpr double kPi = Waveforms::kPi;
constexpr double kTwoPi = Waveforms::kTwoPi;

class LfoTest : public ::testing::Test
{
  protected:
    void Start(double bpm = 120.0)
    {
        h.values[kPlayAnyway] = 1;
        h.values[kFade] = 1;
        h.SetTempo(bpm);
        h.Open();
        Run(1);
    }
    void Run(int blocks, int frames = 480)
    {
        for (int i = 0; i < blocks; ++i)
        {
            StereoBlock b(frames);
            b.Process(h);
        }
    }

    FakeEngineHost h;
};

// Beats per cycle of the 31 tempo divisions.
constexpr double kDivisionBeats[Lfo::kDivisionCount] = {
    1.0 / 8,  1.0 / 6, 3.0 / 16, 1.0 / 4,   1.0 / 3, 3.0 / 8,  1.0 / 2,   2.0 / 3, 3.0 / 4,  1,  4.0 / 3,
    3.0 / 2,  2,       8.0 / 3,  3,         4,       16.0 / 3, 6,         8,       32.0 / 3, 12, 16,
    64.0 / 3, 24,      32,       128.0 / 3, 48,      64,       256.0 / 3, 96,      128};
} // namespace

TEST_F(LfoTest, TargetRangesAndDepthScaling)
{
    h.values[kLfo1Target] = 4; // "Volume"
    h.values[kLfo1Depth] = 100;
    Start();
    // The whole range 0.00001..1 whatever "Mix" is.
    EXPECT_EQ(h.L(0).scale, 0.499995f);
    EXPECT_EQ(h.L(0).offset, 0.00001f + 0.499995f);
    EXPECT_EQ(h.engine.Graph(0).rangeLo, 0.00001f);
    EXPECT_EQ(h.engine.Graph(0).rangeHi, 1.0f);

    // "Mix" 95 % with depth 20 %: the centre is pushed down so the peak stays at 1.
    h.Set(kMix, 95);
    h.Set(kLfo1Depth, 20);
    EXPECT_EQ(h.L(0).scale, 0.09999899566173553f);
    EXPECT_EQ(h.L(0).offset, 0.900001f);

    // Base Freq uses depth⁴: at 50 % one eighth of what other targets get.
    h.Set(kLfo1Target, 1);
    h.Set(kLfo1Depth, 50);
    const float baseSpan = 2.6153757572174072f; // (20 000 − 20) Hz at 48 kHz as increments
    EXPECT_EQ(h.engine.Graph(0).rangeLo, 0.0026179938577115536f);
    EXPECT_EQ(h.engine.Graph(0).rangeHi, 2.6179938316345215f);
    EXPECT_EQ(h.L(0).scale, baseSpan * 0.03125f);
    EXPECT_EQ(h.L(0).offset, h.engine.Graph(0).rangeLo + h.L(0).scale); // 200 Hz sits near the bottom

    h.Set(kLfo2Target, 2);
    h.Set(kLfo2Depth, 50);
    EXPECT_EQ(h.engine.Graph(1).rangeHi, 0.06702063977718353f); // 512 Hz
    EXPECT_EQ(h.L(1).scale, 0.06702063977718353f * 0.25f);
}

TEST_F(LfoTest, OutputsStayInRangeAndDriveTheirValues)
{
    h.values[kLfo1Target] = 1;
    h.values[kLfo1Depth] = 100;
    h.values[kLfo1Sync] = 0;
    h.values[kLfo1RateMs] = 60;
    h.values[kLfo2Target] = 3;
    h.values[kLfo2Depth] = 100;
    h.values[kLfo2Sync] = 0;
    h.values[kLfo2RateMs] = 70;
    Start();
    float lo = 10.0f, hi = -10.0f;
    for (int block = 0; block < 200; ++block)
    {
        Run(1, 37);
        const float p = h.engine.Graph(0).position;
        lo = std::min(lo, p);
        hi = std::max(hi, p);
        EXPECT_GE(p, h.engine.Graph(0).rangeLo);
        EXPECT_LE(p, h.engine.Graph(0).rangeHi);
        // Oscillator 1 runs at the LFO's output and oscillator 2 keeps the binaural offset.
        EXPECT_NEAR(h.F().osc1Inc, p, 1e-6);
        EXPECT_NEAR(h.F().osc2Inc - h.F().osc1Inc, h.F().beatInc, 1e-15);
        EXPECT_GE(h.engine.Graph(1).position, -1.0f);
        EXPECT_LE(h.engine.Graph(1).position, 1.0f);
    }
    EXPECT_LT(lo, 0.01f); // the full 20 Hz .. 20 kHz sweep
    EXPECT_GT(hi, 2.6f);
    // Within the block the LFO sets the pan, which snaps back to its goal at the block's end.
    EXPECT_EQ(h.F().pan, h.F().panTarget);
}

TEST_F(LfoTest, BothOnOneTargetStopsTheSecondUntilATargetChanges)
{
    h.values[kLfo1Target] = 1;
    h.values[kLfo2Target] = 1;
    Start();
    EXPECT_TRUE(h.L(0).active);
    EXPECT_FALSE(h.L(1).active);
    EXPECT_TRUE(h.engine.Graph(0).running);
    EXPECT_FALSE(h.engine.Graph(1).running);
    EXPECT_TRUE(h.engine.Graph(1).blocked);
    const double stalled = h.L(1).phase;
    Run(3);
    EXPECT_EQ(h.L(1).phase, stalled);

    h.Set(kLfo1Target, 0);
    EXPECT_FALSE(h.L(0).active);
    EXPECT_FALSE(h.engine.Graph(0).running);
    EXPECT_TRUE(h.L(1).active);
    EXPECT_TRUE(h.engine.Graph(1).running);
    EXPECT_FALSE(h.engine.Graph(1).blocked);
    // LFO 2 took over with a swing set up for its target.
    EXPECT_GT(h.L(1).scale, 0.0f);
    Run(1);
    EXPECT_NE(h.L(1).phase, stalled);

    h.Set(kLfo1Target, 1);
    EXPECT_TRUE(h.engine.Graph(1).blocked);
    h.Set(kLfo2Target, 4);
    EXPECT_TRUE(h.L(1).active);
    EXPECT_FALSE(h.engine.Graph(1).blocked);
}

TEST_F(LfoTest, LeavingATargetGivesTheParameterItsValueBack)
{
    h.values[kLfo1Target] = 1;
    h.values[kLfo1Depth] = 100;
    Start();
    Run(10);
    ASSERT_GT(std::fabs(h.F().osc1Inc - h.F().osc1IncTarget), 1e-3);
    h.Set(kLfo1Target, 4);
    EXPECT_EQ(h.L(0).targetParam, ParamId::kMix);
    EXPECT_EQ(h.engine.Graph(0).rangeHi, 1.0f);
    EXPECT_EQ(h.L(0).offset, 0.00001f + 0.499995f);
    Run(2); // glides back to the base frequency over "Fade"
    EXPECT_NEAR(h.F().osc1Inc, h.F().osc1IncTarget, 1e-12);

    // A depth change re-applies the driven parameter; a change of that parameter re-centres.
    h.Set(kLfo1Target, 3);
    h.Set(kLfo1Depth, 20);
    EXPECT_EQ(h.L(0).scale, 0.19999999f);
    EXPECT_EQ(h.L(0).offset, 1.0f - 0.19999999f);
    h.Set(kBinauralPan, 0);
    EXPECT_EQ(h.L(0).offset, 0.0f);
}

TEST_F(LfoTest, GlideAndRampsAreSuppressedForDrivenValues)
{
    h.values[kLfo1Target] = 2; // binaural offset
    h.values[kLfo1Depth] = 0;  // no swing: the LFO holds the centre
    h.values[kLfo2Target] = 4; // volume
    h.values[kLfo2Depth] = 0;
    h.values[kMix] = 80;
    Start();
    Run(2);
    // Oscillator 2 follows the LFO exactly, without a glide step on top.
    EXPECT_EQ(h.F().osc2Inc, static_cast<double>(static_cast<float>(h.F().beatInc)) + h.F().baseInc);
    h.Set(kMix, 40);
    const double phase = h.F().osc1Phase;
    StereoBlock b(100);
    b.Process(h);
    // No ramp from 0.8 towards 0.4: the LFO holds the new centre from the first sample.
    EXPECT_NEAR(b.outL[0], 0.39999998f * std::sin(phase), 1e-12); // 40 × 0.01 in single precision
}

TEST_F(LfoTest, StartPhasesPerWave)
{
    Start();
    const double atQuarter[Waveforms::kLfoWaveCount] = {kPi / 2, kPi, kPi, kPi / 2, kPi, 0.0, kPi};
    for (int wave = 0; wave < Waveforms::kLfoWaveCount; ++wave)
    {
        h.Set(kLfo1Wave, wave);
        h.Set(kLfo1Start, 0);
        h.Set(kLfo1Start, 25);
        EXPECT_NEAR(h.L(0).phase, atQuarter[wave], 1e-15) << wave;
    }
    h.Set(kLfo1Wave, 0);
    h.Set(kLfo1Start, 0);
    h.Set(kLfo1Start, 25);
    EXPECT_EQ(h.L(0).phase, kPi / 2);
    double state = 0.0;
    EXPECT_EQ(Waveforms::LfoValue(0, h.L(0).phase, state, 0.0f, 0.0f), 1.0);
    h.Set(kLfo1Wave, 1);
    h.Set(kLfo1Start, 0);
    h.Set(kLfo1Start, 25);
    EXPECT_EQ(Waveforms::LfoValue(1, h.L(0).phase, state, 0.0f, 0.0f), 1.0);
    // 100 % on "Sine Half" lands past 2π and wraps.
    h.Set(kLfo1Wave, 5);
    h.Set(kLfo1Start, 100);
    EXPECT_NEAR(h.L(0).phase, 4.71238898038469, 1e-15);
}

TEST_F(LfoTest, WaveChangesAndUnchangedStartsDoNotRestart)
{
    h.values[kLfo1Target] = 3;
    h.values[kLfo1Start] = 10;
    Start();
    Run(5);
    const double moving = h.L(0).phase;
    h.Set(kLfo1Wave, 2);
    EXPECT_EQ(h.L(0).phase, moving);
    h.Set(kLfo1Start, 10.2); // rounds to the value it already has
    EXPECT_EQ(h.L(0).phase, moving);
    h.Set(kLfo1Start, 11);
    EXPECT_NE(h.L(0).phase, moving);
}

TEST_F(LfoTest, RestartButtonRestartsOncePerPress)
{
    h.values[kLfo1Target] = 3;
    h.values[kLfo2Target] = 4;
    h.values[kLfo2Start] = 50;
    Start();
    Run(3);
    h.Set(kRestartLfos, 1);
    EXPECT_EQ(h.L(0).phase, 0.0);
    EXPECT_EQ(h.L(1).phase, kPi);
    Run(3);
    const double held = h.L(0).phase;
    h.Set(kRestartLfos, 1); // still held
    EXPECT_EQ(h.L(0).phase, held);
    h.Set(kRestartLfos, 0);
    EXPECT_EQ(h.L(0).phase, held);
    h.Set(kRestartLfos, 1);
    EXPECT_EQ(h.L(0).phase, 0.0);
    // A reset restarts too.
    Run(2);
    h.Reset();
    EXPECT_EQ(h.L(0).phase, 0.0);
    EXPECT_EQ(h.L(1).phase, kPi);
}

TEST_F(LfoTest, FreeRatesLastTheirPeriod)
{
    h.values[kLfo1Sync] = 0;
    Start();
    for (const double ms : {60.0, 2000.0, 64000.0})
    {
        h.Set(kLfo1RateMs, ms);
        EXPECT_NEAR(h.L(0).inc * (ms * 48.0), kTwoPi, 1e-12) << ms;
    }
    // The synced rate parameter is ignored while the LFO runs free, and vice versa.
    const double inc = h.L(0).inc;
    h.Set(kLfo1RateSync, 3);
    EXPECT_EQ(h.L(0).inc, inc);
    h.Set(kLfo2RateMs, 100);
    EXPECT_NE(h.L(1).inc, (1.0 / 100) / 48000 * 6283.185307179586);
}

TEST_F(LfoTest, SyncedDivisionsAt120Bpm)
{
    Start(120.0); // 24 000 samples per beat
    EXPECT_EQ(h.F().samplesPerWholeNote, 96000.0);
    for (int i = 0; i < Lfo::kDivisionCount; ++i)
    {
        h.Set(kLfo1RateSync, i);
        const double cycle = kDivisionBeats[i] * 24000.0;
        EXPECT_NEAR(h.L(0).inc * cycle / kTwoPi, 1.0, 1e-7) << i;
        EXPECT_EQ(std::max(Lfo::NearestSyncDivision(h.L(0).inc, 96000.0), 0), i);
    }
    EXPECT_EQ(Lfo::DivisionLength(1), static_cast<float>(1.0 / 24.0));
    EXPECT_EQ(Lfo::DivisionLength(30), 32.0f);
}

TEST_F(LfoTest, NearestDivisionSplitsAtMidpoints)
{
    auto inc = [](int i) { return (1.0 / Lfo::DivisionLength(i)) * (1.0 / 96000.0) * kTwoPi; };
    const double mid = 0.5 * (inc(15) + inc(16));
    EXPECT_EQ(Lfo::NearestSyncDivision(mid * (1 + 1e-9), 96000.0), 15);
    EXPECT_EQ(Lfo::NearestSyncDivision(mid * (1 - 1e-9), 96000.0), 16);
    EXPECT_EQ(Lfo::NearestSyncDivision(inc(0) * 3, 96000.0), -1); // the caller clamps to 0
    EXPECT_EQ(Lfo::NearestSyncDivision(inc(30) * 0.5, 96000.0), 31);
    EXPECT_EQ(Lfo::NearestSyncDivision(0.0, 96000.0), 31);
}

TEST_F(LfoTest, TempoChangeReappliesSyncedRatesBeforeTheBlock)
{
    h.values[kLfo1Target] = 3;
    Start(120.0);
    h.SetTempo(60.0);
    const double before = h.L(0).phase;
    Run(1, 1000);
    EXPECT_EQ(h.F().samplesPerWholeNote, 192000.0);
    EXPECT_NEAR(h.L(0).phase - before, 1000 * kTwoPi / 192000.0, 1e-12);
}

TEST_F(LfoTest, WithoutHostTempoSyncedRatesUseTheLastTempoOr120Bpm)
{
    h.values[kLfo1Target] = 3;
    Start(0.0);
    EXPECT_EQ(h.F().samplesPerWholeNote, 0.0);
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 96000.0, 1e-18); // "1/1" at 120 BPM
    h.SetTempo(60.0);
    Run(1);
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 192000.0, 1e-18);
    h.SetTempo(0.0);
    Run(1);
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 192000.0, 1e-18);
    h.Set(kLfo1RateSync, 9); // one beat at the last tempo, 60 BPM
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 48000.0, 1e-18);
    // A switch to synced by a click converts with the same tempo.
    h.Set(kLfo1Sync, 0);
    h.Set(kLfo1RateMs, 4000);
    h.engine.NoteSyncClick();
    h.Set(kLfo1Sync, 1);
    EXPECT_EQ(h.values[kLfo1RateSync], 15); // 4 s is a whole note at 60 BPM

    // The remembered tempo survives a new sample rate: still one beat of 60 BPM, one second.
    h.liveRate = 96000.0;
    h.Reset();
    h.Set(kLfo1RateSync, 9);
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 96000.0, 1e-18);
}

TEST_F(LfoTest, SyncSwitchByClickConvertsTheRunningRate)
{
    h.values[kLfo1Target] = 3;
    h.values[kLfo1Sync] = 0;
    h.values[kLfo1RateSync] = 3;
    h.values[kLfo1RateMs] = 2000;
    Start(120.0);
    EXPECT_FALSE(h.ShowsSynced(0));

    // The engine answers the converted rate and writes nothing itself: storing it is the plug-in's.
    h.engine.NoteSyncClick();
    h.values[kLfo1Sync] = 1;
    const ToneEngine::WriteBack back = h.engine.HandleParamChange(ToParamId(kLfo1Sync));
    EXPECT_FALSE(h.engine.Fields().syncClicked);
    EXPECT_EQ(ToIndex(back.param), kLfo1RateSync);
    EXPECT_EQ(back.value, 15.0); // 2 s = 4 beats = "1/1"
    EXPECT_EQ(h.values[kLfo1RateSync], 3);
    h.Set(kLfo1RateSync, back.value);
    EXPECT_TRUE(h.ShowsSynced(0));
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 96000.0, 1e-18);

    h.Set(kLfo1RateSync, 12); // "1/2": one second
    h.engine.NoteSyncClick();
    h.Set(kLfo1Sync, 0);
    ASSERT_EQ(h.fromEngine.size(), 1u);
    EXPECT_EQ(h.fromEngine[0].first, kLfo1RateMs);
    EXPECT_NEAR(h.values[kLfo1RateMs], 1000.0, 1e-9);
    EXPECT_NEAR(h.L(0).inc, kTwoPi / 48000.0, 1e-15);
    EXPECT_FALSE(h.ShowsSynced(0));

    // Setting the value it already has changes nothing.
    h.engine.NoteSyncClick();
    h.Set(kLfo1Sync, 0);
    EXPECT_EQ(h.fromEngine.size(), 1u);
    EXPECT_FALSE(h.ShowsSynced(0));
}

TEST_F(LfoTest, SyncSwitchWithoutAClickKeepsTheRateParameters)
{
    h.values[kLfo2Target] = 3;
    h.values[kLfo2Sync] = 0;
    h.values[kLfo2RateSync] = 3; // "1/16": a quarter beat
    h.values[kLfo2RateMs] = 2000;
    Start(120.0);
    EXPECT_FALSE(h.ShowsSynced(1));
    h.Set(kLfo2Sync, 1); // automation or a preset
    EXPECT_TRUE(h.fromEngine.empty());
    EXPECT_EQ(h.values[kLfo2RateSync], 3);
    // The rate now in force sets the LFO, so what plays matches the saved parameters.
    EXPECT_NEAR(h.L(1).inc, kTwoPi / 6000.0, 1e-15);
    EXPECT_TRUE(h.ShowsSynced(1));
    h.Set(kLfo2Sync, 0);
    EXPECT_NEAR(h.L(1).inc, kTwoPi / 96000.0, 1e-15);

    // A click before the first block converts nothing either.
    FakeEngineHost fresh;
    fresh.values[kLfo1Sync] = 0;
    fresh.Open();
    fresh.engine.NoteSyncClick();
    fresh.Set(kLfo1Sync, 1);
    EXPECT_TRUE(fresh.fromEngine.empty());
}
} // namespace tpm
