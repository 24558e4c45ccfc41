// The tone engine driven through the plug-in's VST entry points, as a host drives it.
#include "CrossingCounter.h"
#include "support/LinkedPlugin.h"
#include "support/ParamIndex.h"
#include "support/TestModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr int kBlock = 480;

HostSettings At48k(bool playing)
{
    HostSettings settings;
    settings.sampleRate = 48000.0;
    settings.blockSize = kBlock;
    settings.tempo = 120.0;
    settings.playing = playing;
    return settings;
}

void SetNormalized(HostedPlugin& p, int idx, float value)
{
    AEffect* e = p.Effect();
    e->setParameter(e, idx, value);
}

// A sounding tone: full mix, 1 ms glide, "Play Anyway" unless the transport runs.
void MakeAudible(HostedPlugin& p, bool playAnyway)
{
    ASSERT_TRUE(p.SetParamText(kBaseFreq, "440"));
    ASSERT_TRUE(p.SetParamText(kBinaural, "10"));
    SetNormalized(p, kMix, 1.0f);
    SetNormalized(p, kFade, 0.0f);
    SetNormalized(p, kPlayAnyway, playAnyway ? 1.0f : 0.0f);
}

struct DoubleBlock
{
    std::vector<double> inL = std::vector<double>(kBlock, 0.0), inR = inL, outL = inL, outR = inL;
    void Process(AEffect* e)
    {
        double* in[] = {inL.data(), inR.data()};
        double* out[] = {outL.data(), outR.data()};
        e->processDoubleReplacing(e, in, out, kBlock);
    }
};

struct FloatBlock
{
    std::vector<float> inL = std::vector<float>(kBlock, 0.0f), inR = inL, outL = inL, outR = inL;
    void Process(AEffect* e)
    {
        float* in[] = {inL.data(), inR.data()};
        float* out[] = {outL.data(), outR.data()};
        e->processReplacing(e, in, out, kBlock);
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

TEST(ToneModule, BinauralBeatThroughBothProcessCallbacks)
{
    auto singles = LoadTestModule(At48k(false));
    auto doubles = LoadTestModule(At48k(false));
    ASSERT_TRUE(singles && doubles);
    singles->Start();
    doubles->Start();
    MakeAudible(*singles, true);
    MakeAudible(*doubles, true);

    CrossingCounter left, right;
    DoubleBlock d;
    FloatBlock f;
    for (int block = 0; block < 100; ++block)
    {
        d.Process(doubles->Effect());
        f.Process(singles->Effect());
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

TEST(ToneModule, TransportStopFadesToPassThrough)
{
    auto p = LoadTestModule(At48k(true));
    ASSERT_TRUE(p);
    p->Start();
    MakeAudible(*p, false);
    DoubleBlock b;
    b.inL.assign(kBlock, 0.125);
    b.inR.assign(kBlock, -0.125);
    for (int i = 0; i < 3; ++i)
        b.Process(p->Effect());
    EXPECT_GT(Peak(b.outL), 0.9);

    p->settings.playing = false;
    b.Process(p->Effect()); // the fade-out block
    EXPECT_NEAR(b.outL.back(), 0.125, 0.01);
    b.Process(p->Effect());
    EXPECT_EQ(b.outL, b.inL);
    EXPECT_EQ(b.outR, b.inR);

    p->settings.recording = true;
    b.Process(p->Effect());
    EXPECT_GT(Peak(b.outL), 0.5);
}

TEST(ToneModule, SyncedLfoFollowsTheHostTempo)
{
    auto p = LoadTestModule(At48k(false));
    ASSERT_TRUE(p);
    p->Start();
    MakeAudible(*p, true);
    ASSERT_TRUE(p->SetParamText(kBaseFreq, "200")); // two whole cycles in every block
    SetNormalized(*p, kLfo1Target, 1.0f);           // "Volume"
    SetNormalized(*p, kLfo1Wave, 1.0f / 6.0f);      // "Triangle"
    SetNormalized(*p, kLfo1RateSync, 9.0f / 30.0f); // "1/4": one cycle per beat
    SetNormalized(*p, kLfo1Depth, 1.0f);

    // Blocks where the swing passes its quiet end, one per LFO cycle.
    auto quietBlocks = [&](int blocks) {
        std::vector<int> starts;
        bool wasQuiet = true;
        DoubleBlock b;
        for (int block = 0; block < blocks; ++block)
        {
            b.Process(p->Effect());
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
    p->settings.tempo = 60.0;
    expectSpacing(quietBlocks(500), 100, 4); // 60 BPM: 48 000 samples
}

TEST(ToneModule, HostIsAskedForTimeOncePerBlockWhateverItsLength)
{
    auto p = LoadTestModule(At48k(true));
    ASSERT_TRUE(p);
    p->Start();
    SetNormalized(*p, kLfo1Target, 0.5f); // an LFO running changes nothing
    SetNormalized(*p, kLfo2Target, 0.75f);
    std::vector<double> l(kBlock), r(kBlock);
    double* io[] = {l.data(), r.data()};
    AEffect* e = p->Effect();
    for (const bool playAnyway : {false, true})
    {
        SetNormalized(*p, kPlayAnyway, playAnyway ? 1.0f : 0.0f);
        const int perBlock = playAnyway ? 1 : 2; // tempo, and the transport unless it plays anyway
        for (const int frames : {1, 64, kBlock}) // up to the block size the host announced
        {
            p->ClearCalls();
            for (int i = 0; i < 5; ++i)
                e->processDoubleReplacing(e, io, io, frames);
            EXPECT_EQ(p->CountCalls(vst::audioMasterGetTime), 5 * perBlock) << frames;
            EXPECT_EQ(p->Calls().size(), static_cast<std::size_t>(5 * perBlock)) << frames;
        }
    }
}

TEST(ToneModule, SyncClickHandsTheConvertedRateToTheHost)
{
    std::string error;
    auto host = HostedPlugin::Create(&MakeLinkedPlugin, error, At48k(true));
    ASSERT_TRUE(host) << error;
    auto* plug = ProductOf(host->Effect());
    host->Start();
    SetNormalized(*host, kLfo1Target, 0.75f);
    SetNormalized(*host, kLfo1Sync, 0.0f); // free, 2000 ms
    DoubleBlock b;
    b.Process(host->Effect());

    host->ClearCalls();
    plug->Engine().NoteSyncClick();
    SetNormalized(*host, kLfo1Sync, 1.0f);
    b.Process(host->Effect()); // the engine takes the change up, and tells the host, at the next block
    std::vector<std::pair<int, int>> edits;
    for (const HostCall& c : host->Calls())
        if (c.opcode != vst::audioMasterGetTime)
            edits.emplace_back(c.opcode, c.index);
    EXPECT_EQ(edits, (std::vector<std::pair<int, int>>{{vst::audioMasterBeginEdit, kLfo1RateSync},
                                                       {vst::audioMasterAutomate, kLfo1RateSync},
                                                       {vst::audioMasterEndEdit, kLfo1RateSync}}));
    AEffect* e = host->Effect();
    EXPECT_FLOAT_EQ(e->getParameter(e, kLfo1RateSync), 0.5f); // "1/1": 2 s at 120 BPM
    EXPECT_EQ(host->ParamDisplay(kLfo1RateSync), "1/1");
    EXPECT_NEAR(plug->Engine().Fields().lfo[0].inc, 6.283185307179586 / 96000.0, 1e-15);
}
