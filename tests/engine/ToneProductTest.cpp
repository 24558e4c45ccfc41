// The tone engine driven through the product, as every format binding drives it: blocks of either
// precision and the host's transport with each block.
#include "CrossingCounter.h"
#include "plugin/PluginInstance.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tpm
{
namespace
{
constexpr int kBlock = 480;

// A product instance at 48 kHz with the host's transport at 120 BPM.
struct Tone
{
    std::unique_ptr<PluginInstance> product = PluginInstance::Create();
    TransportSnapshot transport;

    explicit Tone(bool playing)
    {
        EXPECT_TRUE(product && product->Activate(48000.0, kBlock));
        product->StartProcessing();
        transport.available = transport.tempoValid = true;
        transport.tempo = 120.0;
        transport.playing = playing;
    }
    void SetNormalized(int param, double x)
    {
        product->SetParamValue(param, product->Param(param)->StoredValue(x));
    }
    // A sounding tone: 440 Hz and 450 Hz, full mix, 1 ms glide, "Play Anyway" unless the transport runs.
    void MakeAudible(bool playAnyway)
    {
        product->SetParamValue(kBaseFreq, 440);
        product->SetParamValue(kBinaural, 10);
        SetNormalized(kMix, 1.0);
        SetNormalized(kFade, 0.0);
        SetNormalized(kPlayAnyway, playAnyway ? 1.0 : 0.0);
    }
};

template <typename Sample> struct Block
{
    std::vector<Sample> inL = std::vector<Sample>(kBlock, 0), inR = inL, outL = inL, outR = inL;
    void Process(Tone& tone)
    {
        const Sample* in[] = {inL.data(), inR.data()};
        Sample* out[] = {outL.data(), outR.data()};
        tone.product->Process(AudioBlock<Sample>{in, 2, out, 2, kBlock}, tone.transport, {});
    }
};

double Peak(const std::vector<double>& v)
{
    double peak = 0.0;
    for (const double x : v)
        peak = std::max(peak, std::fabs(x));
    return peak;
}
} // namespace

TEST(ToneProduct, BinauralBeatInBothPrecisions)
{
    Tone singles(false), doubles(false);
    singles.MakeAudible(true);
    doubles.MakeAudible(true);

    CrossingCounter left, right;
    Block<double> d;
    Block<float> f;
    for (int block = 0; block < 100; ++block)
    {
        d.Process(doubles);
        f.Process(singles);
        for (int i = 0; i < kBlock; ++i)
        {
            ASSERT_NEAR(f.outL[i], d.outL[i], 1e-6);
            ASSERT_NEAR(f.outR[i], d.outR[i], 1e-6);
        }
        if (block > 0) // after the glide up from 0 Hz
        {
            left.Feed(d.outL.data(), kBlock, block * kBlock);
            right.Feed(d.outR.data(), kBlock, block * kBlock);
        }
    }
    EXPECT_NEAR(left.Frequency(48000.0), 440.0, 1e-6);
    EXPECT_NEAR(right.Frequency(48000.0), 450.0, 1e-6);
    EXPECT_NEAR(Peak(d.outL), 1.0, 1e-3);
}

TEST(ToneProduct, TransportStopFadesToPassThrough)
{
    Tone tone(true);
    tone.MakeAudible(false);
    Block<double> b;
    b.inL.assign(kBlock, 0.125);
    b.inR.assign(kBlock, -0.125);
    for (int i = 0; i < 3; ++i)
        b.Process(tone);
    EXPECT_GT(Peak(b.outL), 0.9);

    tone.transport.playing = false;
    b.Process(tone); // the fade-out block
    EXPECT_NEAR(b.outL.back(), 0.125, 0.01);
    b.Process(tone);
    EXPECT_EQ(b.outL, b.inL);
    EXPECT_EQ(b.outR, b.inR);

    tone.transport.recording = true;
    b.Process(tone);
    EXPECT_GT(Peak(b.outL), 0.5);
}

TEST(ToneProduct, SyncedLfoFollowsTheHostTempo)
{
    Tone tone(false);
    tone.MakeAudible(true);
    tone.product->SetParamValue(kBaseFreq, 200);   // two whole cycles in every block
    tone.SetNormalized(kLfo1Target, 1.0);          // "Volume"
    tone.SetNormalized(kLfo1Wave, 1.0 / 6.0);      // "Triangle"
    tone.SetNormalized(kLfo1RateSync, 9.0 / 30.0); // "1/4": one cycle per beat
    tone.SetNormalized(kLfo1Depth, 1.0);

    // Blocks where the swing passes its quiet end, one per LFO cycle.
    auto quietBlocks = [&](int blocks) {
        std::vector<int> starts;
        bool wasQuiet = true;
        Block<double> b;
        for (int block = 0; block < blocks; ++block)
        {
            b.Process(tone);
            const bool quiet = Peak(b.outL) < 0.05;
            if (quiet && !wasQuiet)
                starts.push_back(block);
            wasQuiet = quiet;
        }
        return starts;
    };
    auto expectSpacing = [](const std::vector<int>& starts, int blocksPerCycle, std::size_t cycles) {
        ASSERT_GE(starts.size(), cycles);
        for (std::size_t i = 1; i < starts.size(); ++i)
            EXPECT_NEAR(starts[i] - starts[i - 1], blocksPerCycle, 1);
    };
    expectSpacing(quietBlocks(500), 50, 9); // 120 BPM: 24 000 samples
    tone.transport.tempo = 60.0;
    expectSpacing(quietBlocks(500), 100, 4); // 60 BPM: 48 000 samples
}
} // namespace tpm
