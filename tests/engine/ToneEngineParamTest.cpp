// Parameter values turned into working values: rounding, precision, the band names.
#include "FakeEngineHost.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tpm
{
namespace
{
class ToneParams : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        h.Open();
        h.Reset();
    }
    std::string Band() const { return h.engine.BandText(); }

    FakeEngineHost h;
};
} // namespace

TEST_F(ToneParams, BaseFreqRoundsToTenthsAndSetsBothTargets)
{
    EXPECT_EQ(h.F().osc1IncTarget, 0.02617993877991494); // 200 Hz at 48 kHz
    EXPECT_EQ(h.F().baseInc, h.F().osc1IncTarget);
    EXPECT_EQ(h.F().osc2IncTarget, 0.02670353755551324); // 204 Hz
    h.Set(kBaseFreq, 200.04);
    EXPECT_EQ(h.F().lastBaseFreq, 200.0f);
    h.Set(kBaseFreq, 200.05);
    EXPECT_EQ(h.F().lastBaseFreq, 200.1f);
    // The sum base + binaural is formed in single precision before the conversion.
    EXPECT_EQ(h.F().osc2IncTarget, static_cast<double>(200.1f + 4.0f) * (1.0 / 48000.0) * Waveforms::kTwoPi);
}

TEST_F(ToneParams, BinauralRoundsToHundredthsAndNamesTheBand)
{
    h.Set(kBinaural, 3.999);
    EXPECT_EQ(h.F().lastBeatFreq, 4.0f); // 400 × 0.01 in single precision is exactly 4
    EXPECT_EQ(Band(), "THETA");
    EXPECT_EQ(h.F().beatInc, 4.0 * (1.0 / 48000.0) * Waveforms::kTwoPi);

    struct Case
    {
        double hz;
        const char* band;
    };
    for (const Case c : {Case{0.004, "Binaural Off"}, Case{0.005, "EPSILON"}, Case{0.49, "EPSILON"},
                         Case{0.5, "DELTA"}, Case{3.99, "DELTA"}, Case{7.99, "THETA"}, Case{8, "ALPHA"},
                         Case{13.99, "ALPHA"}, Case{14, "BETA"}, Case{29.99, "BETA"}, Case{30, "GAMMA"},
                         Case{99.99, "GAMMA"}, Case{100, "LAMBDA"}, Case{512, "LAMBDA"}})
    {
        h.Set(kBinaural, c.hz);
        EXPECT_EQ(Band(), c.band) << c.hz;
    }
}

TEST_F(ToneParams, BeatsSwitchesModeAndTheOffText)
{
    h.Set(kBinaural, 0);
    EXPECT_EQ(Band(), "Binaural Off");
    EXPECT_TRUE(h.F().binauralMode);
    h.Set(kBeats, 1);
    EXPECT_FALSE(h.F().binauralMode);
    EXPECT_EQ(Band(), "Monaural Off");
    h.Set(kBinaural, 0);
    EXPECT_EQ(Band(), "Monaural Off");
    h.Set(kBinaural, 4);
    h.Set(kBeats, 0);
    EXPECT_EQ(Band(), "THETA");
    h.Set(kBeats, 1);
    EXPECT_EQ(Band(), "THETA");
}

TEST_F(ToneParams, PercentagesAndSwitches)
{
    h.Set(kMix, 0);
    EXPECT_EQ(h.F().levelTarget, 0.00001f);
    h.Set(kMix, 95);
    EXPECT_EQ(h.F().levelTarget, 0.949999988079071f);
    h.Set(kBinauralPan, -100);
    EXPECT_EQ(h.F().panTarget, -1.0f);
    h.Set(kBinauralPan, 37.4);
    EXPECT_EQ(h.F().panTarget, 37 * 0.01f);
    h.Set(kBinauralPan, -37.5); // half away from zero
    EXPECT_EQ(h.F().panTarget, -38 * 0.01f);
    h.Set(kPlayAnyway, 1);
    EXPECT_TRUE(h.F().playAnyway);
    h.Set(kPlayAnyway, 0);
    EXPECT_FALSE(h.F().playAnyway);
}

TEST_F(ToneParams, WaveSelectsCoefficientsOnlyForTheGoldenCurves)
{
    h.Set(kWave, 5);
    EXPECT_EQ(h.F().waveIndex, 5);
    EXPECT_EQ(h.F().golden.a1, 0.40453076362609863);
    h.Set(kWave, 3); // a plain wave leaves them as they were
    EXPECT_EQ(h.F().waveIndex, 3);
    EXPECT_EQ(h.F().golden.a1, 0.40453076362609863);
    h.Set(kWave, 6);
    EXPECT_EQ(h.F().golden.a2, 4.235601902008057);
}

TEST_F(ToneParams, ResetRecomputesOnlyForANewSampleRateAndAlwaysRestartsTheLfos)
{
    // A value not yet handed over shows whether a reset handles its parameter again.
    h.values[kBaseFreq] = 400;
    h.Reset();
    EXPECT_EQ(h.F().osc1IncTarget, 200.0 * (1.0 / 48000.0) * Waveforms::kTwoPi);

    h.values[kBaseFreq] = 200;
    h.liveRate = 96000.0;
    h.Reset();
    EXPECT_EQ(h.F().sampleRate, 96000.0);
    EXPECT_EQ(h.F().osc1IncTarget, 200.0 * (1.0 / 96000.0) * Waveforms::kTwoPi);
    EXPECT_EQ(h.F().glideSamples, 24000u);
}

TEST_F(ToneParams, UnusableSampleRatesGiveZeroRatherThanInfiniteValues)
{
    FakeEngineHost host; // the engine has no sample rate until the first reset or block
    host.values[kLfo1Target] = 1;
    host.values[kLfo1Sync] = 0;
    host.Open();
    EXPECT_EQ(host.F().osc1IncTarget, 0.0);
    EXPECT_EQ(host.L(0).graph.rangeHi, 0.0f);
    EXPECT_EQ(host.L(0).inc, 0.0);
    host.liveRate = std::numeric_limits<double>::quiet_NaN();
    host.Reset();
    EXPECT_EQ(host.F().osc1IncTarget, 0.0);
    EXPECT_EQ(host.F().glideSamples, 0u);
}
} // namespace tpm
