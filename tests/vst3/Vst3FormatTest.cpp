// The VST3 bundle against the VST2 module (the same samples) and the CLAP build (the same state).
#include "support/Vst2Reference.h"
#include "vst3/Vst3TestSupport.h"

#include <cmath>

namespace tpm
{
namespace
{
constexpr int kBlocks = 40;
constexpr int kBinaural = 1;

// A normalised setting made before processing, the same for both modules.
struct Setting
{
    int param;
    float normalized;
};

// Renders the same input through both modules; a Binaural step lands at stepFrame of each block when
// stepHz >= 0, as a parameter point in VST3 and a block cut in VST2. Answers the largest difference.
template <typename Sample>
double LargestDifference(bool playing, int program, double stepHz, int stepFrame,
                         const std::vector<Setting>& settings = {})
{
    auto vst3 = LoadVst3(playing);
    if (!vst3)
        return 1.0;
    if (program >= 0)
    {
        EXPECT_TRUE(vst3->SelectProgram(program)); // through the program-change parameter
    }
    for (const Setting& setting : settings)
        vst3->SetParamNormalized(setting.param, setting.normalized);
    vst3->Configure(48000.0, kTestBlock);
    EXPECT_TRUE(vst3->Resume());
    Vst2Reference reference(playing, program, kTestBlock);
    for (const Setting& setting : settings)
        reference.SetNormalized(setting.param, setting.normalized);
    double largest = 0.0;
    std::vector<Sample> a(kTestBlock), b(kTestBlock), c(kTestBlock), d(kTestBlock);
    std::vector<Sample> outL(kTestBlock), outR(kTestBlock);
    for (int block = 0; block < kBlocks; ++block)
    {
        FillTestInput(a, b, block);
        c = a;
        d = b;
        // A ramp, one step a block, on values the VST2 module's single-precision scale holds exactly.
        const auto normalized = static_cast<float>((stepHz + block * 0.37) / 512.0);
        if (stepHz >= 0.0)
        {
            vst3->SetNormalizedAt(kBinaural, normalized, stepFrame);
            reference.Process(c, d, 0, stepFrame);
            reference.SetNormalized(kBinaural, normalized);
            reference.Process(c, d, stepFrame, kTestBlock - stepFrame);
        }
        else
            reference.Process(c, d, 0, kTestBlock);
        Sample* ins[2] = {a.data(), b.data()};
        Sample* outs[2] = {outL.data(), outR.data()};
        vst3->Process(ins, outs, kTestBlock);
        vst3->Advance(kTestBlock);
        for (std::size_t i = 0; i < static_cast<std::size_t>(kTestBlock); ++i)
            largest = std::max({largest, std::fabs(static_cast<double>(outL[i]) - c[i]),
                                std::fabs(static_cast<double>(outR[i]) - d[i])});
    }
    vst3->Suspend();
    return largest;
}
} // namespace

TEST(Vst3Module, SameSamplesAsVst2)
{
    EXPECT_EQ(LargestDifference<double>(false, -1, -1.0, 0), 0.0) << "default program, stopped";
    EXPECT_EQ(LargestDifference<double>(true, -1, -1.0, 0), 0.0) << "default program, playing";
    EXPECT_EQ(LargestDifference<double>(true, 40, -1.0, 0), 0.0) << "factory program by program change";
    EXPECT_LE(LargestDifference<float>(true, 40, -1.0, 0), 1e-7) << "32-bit";
}

TEST(Vst3Module, SyncedLfoFollowsTheTransportAsInVst2)
{
    // LFO 1 (synced by default) drives Binaural; "Play Anyway" lets it sound while stopped.
    const std::vector<Setting> settings = {{8, 0.5f}, {5, 1.0f}};
    EXPECT_EQ(LargestDifference<double>(true, -1, -1.0, 0, settings), 0.0) << "playing at 120 BPM";
    EXPECT_EQ(LargestDifference<double>(false, -1, -1.0, 0, settings), 0.0) << "stopped";
}

TEST(Vst3Module, BinauralRampAsParameterPointsLandsOnItsFrames)
{
    EXPECT_EQ(LargestDifference<double>(true, -1, 4.0, 100), 0.0);
    EXPECT_LE(LargestDifference<float>(true, -1, 4.0, 100), 1e-7);
}

TEST(Vst3State, MovesToClapAndBackByteForByte)
{
    auto first = LoadVst3();
    auto clap = LoadClap();
    auto second = LoadVst3();
    ASSERT_TRUE(first && clap && second);
    first->SetParamNormalized(kBinaural, 7.5 / 512.0);
    first->SetParamNormalized(2, 3.0 / 7.0); // Wave
    std::vector<uint8_t> saved, throughClap, back;
    ASSERT_TRUE(first->SaveState(saved));
    ASSERT_FALSE(saved.empty());
    ASSERT_TRUE(clap->LoadState(saved));
    ASSERT_TRUE(clap->SaveState(throughClap));
    EXPECT_EQ(throughClap, saved);
    EXPECT_EQ(clap->ParamDisplay(kBinaural), first->ParamDisplay(kBinaural));

    ASSERT_NE(second->ParamDisplay(kBinaural), first->ParamDisplay(kBinaural));
    ASSERT_TRUE(second->LoadState(throughClap));
    ASSERT_TRUE(second->SaveState(back));
    EXPECT_EQ(back, saved);
    // The controller followed the component: what the host shows is the loaded state.
    for (int i = 0; i < first->ParamCount(); ++i)
        EXPECT_EQ(second->ParamDisplay(i), first->ParamDisplay(i)) << first->ParamName(i);
}

TEST(Vst3State, ValuesSetBeforeProcessingAreSaved)
{
    // Set on the controller and sent to the processor in a flush before the state is read.
    auto plugin = LoadVst3();
    ASSERT_TRUE(plugin);
    plugin->SetParamText(0, "432");
    std::vector<uint8_t> state;
    ASSERT_TRUE(plugin->SaveState(state));
    auto other = LoadVst3();
    ASSERT_TRUE(other && other->LoadState(state));
    EXPECT_EQ(other->ParamDisplay(0), "432.0");
}
} // namespace tpm
