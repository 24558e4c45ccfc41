#include "support/TestModule.h"

#include <cmath>
#include <limits>
#include <vector>

namespace tpm
{
namespace
{
// With the transport stopped and "Play Anyway" off, the armed plug-in passes its input through
// unchanged: the routing can be checked sample for sample.
std::unique_ptr<Vst2HostedPlugin> PassThroughPlugin(int blockSize = 64)
{
    HostSettings settings;
    settings.playing = false;
    settings.blockSize = blockSize;
    auto plugin = LoadTestModule(settings);
    if (plugin)
        plugin->Start();
    return plugin;
}

std::vector<float> Ramp(int n, float start)
{
    std::vector<float> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = start + 0.001f * static_cast<float>(i);
    return v;
}
} // namespace

TEST(ProcessRouting, ReplacingOverwritesAndAccumulatingAdds)
{
    auto plugin = PassThroughPlugin();
    ASSERT_TRUE(plugin);
    AEffect* e = plugin->Effect();
    auto left = Ramp(64, 0.1f), right = Ramp(64, -0.2f);
    std::vector<float> outLeft(64, 5.0f), outRight(64, 5.0f);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outLeft.data(), outRight.data()};
    e->processReplacing(e, in, out, 64);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);

    e->process(e, in, out, 64);
    for (int i = 0; i < 64; ++i)
    {
        EXPECT_EQ(outLeft[i], left[i] + left[i]);
        EXPECT_EQ(outRight[i], right[i] + right[i]);
    }
}

TEST(ProcessRouting, AccumulatingLongCallsCutWhereReplacingOnesDo)
{
    // A call far longer than the binding's own buffers, on a block size that does not divide them:
    // the accumulating call must sound as the replacing one, added to what the buffers held.
    HostSettings settings;
    settings.playing = true;
    settings.blockSize = 1000;
    auto adding = LoadTestModule(settings);
    auto replacing = LoadTestModule(settings);
    ASSERT_TRUE(adding && replacing);
    adding->Start();
    replacing->Start();
    constexpr int kFrames = 20000;
    auto left = Ramp(kFrames, 0.1f), right = Ramp(kFrames, -0.2f);
    std::vector<float> sumLeft(kFrames, 0.25f), sumRight(kFrames, 0.25f), outLeft(kFrames), outRight(kFrames);
    float* in[] = {left.data(), right.data()};
    float* sums[] = {sumLeft.data(), sumRight.data()};
    float* outs[] = {outLeft.data(), outRight.data()};
    adding->Effect()->process(adding->Effect(), in, sums, kFrames);
    replacing->Effect()->processReplacing(replacing->Effect(), in, outs, kFrames);
    for (int i = 0; i < kFrames; ++i)
    {
        ASSERT_EQ(sumLeft[i], 0.25f + outLeft[i]) << i;
        ASSERT_EQ(sumRight[i], 0.25f + outRight[i]) << i;
    }
}

TEST(ProcessRouting, DoublePrecisionGoesStraightThrough)
{
    auto plugin = PassThroughPlugin();
    ASSERT_TRUE(plugin);
    AEffect* e = plugin->Effect();
    std::vector<double> left(64), right(64), outLeft(64, 9.0), outRight(64, 9.0);
    for (int i = 0; i < 64; ++i)
    {
        left[i] = 0.1 + 1e-12 * i; // finer than single precision could carry
        right[i] = -0.3 - 1e-12 * i;
    }
    double* in[] = {left.data(), right.data()};
    double* out[] = {outLeft.data(), outRight.data()};
    e->processDoubleReplacing(e, in, out, 64);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);

    // In place: the host hands the same buffers in and out.
    double* inPlace[] = {left.data(), right.data()};
    const auto before = left;
    e->processDoubleReplacing(e, inPlace, inPlace, 64);
    EXPECT_EQ(left, before);
}

TEST(ProcessRouting, MonoThroughOneChannelArrangements)
{
    auto plugin = PassThroughPlugin();
    ASSERT_TRUE(plugin);
    AEffect* e = plugin->Effect();
    VstSpeakerArrangement mono{};
    mono.type = vst::kSpeakerArrMono;
    mono.numChannels = 1;
    ASSERT_EQ(plugin->Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono),
              1);

    // Only one buffer per side exists: a second would be read or written out of bounds.
    auto input = Ramp(48, 0.25f);
    std::vector<float> output(48, 0.0f);
    float* in[] = {input.data()};
    float* out[] = {output.data()};
    e->processReplacing(e, in, out, 48);
    EXPECT_EQ(output, input);
    e->process(e, in, out, 48); // the accumulating call too
    for (std::size_t i = 0; i < input.size(); ++i)
        EXPECT_EQ(output[i], input[i] + input[i]) << i;

    std::vector<double> din(48, 0.5), dout(48, 0.0);
    double* dIn[] = {din.data()};
    double* dOut[] = {dout.data()};
    e->processDoubleReplacing(e, dIn, dOut, 48);
    EXPECT_EQ(dout, din);
}

TEST(ProcessRouting, MoreFramesThanTheBlockSizeArePiecedTogether)
{
    auto plugin = PassThroughPlugin(32);
    ASSERT_TRUE(plugin);
    AEffect* e = plugin->Effect();
    auto left = Ramp(200, 0.0f), right = Ramp(200, 0.5f);
    std::vector<float> outLeft(200), outRight(200);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outLeft.data(), outRight.data()};
    e->processReplacing(e, in, out, 200);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);

    VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    plugin->Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono);
    std::vector<double> din(100, 0.125), dout(100, 0.0);
    double* dIn[] = {din.data()};
    double* dOut[] = {dout.data()};
    e->processDoubleReplacing(e, dIn, dOut, 100);
    EXPECT_EQ(dout, din);
}

TEST(ProcessRouting, BlockSizeChangesAndEmptyBlocks)
{
    auto plugin = PassThroughPlugin(16);
    ASSERT_TRUE(plugin);
    AEffect* e = plugin->Effect();
    plugin->Dispatch(vst::effSetBlockSize, 0, 0);   // refused: the old size stays
    plugin->Dispatch(vst::effSetBlockSize, 0, -5);  // refused
    plugin->Dispatch(vst::effSetBlockSize, 0, 128); // grows
    auto left = Ramp(128, 0.0f), right = Ramp(128, 0.0f);
    std::vector<float> outLeft(128), outRight(128);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outLeft.data(), outRight.data()};
    e->processReplacing(e, in, out, 128);
    EXPECT_EQ(outLeft, left);
    e->processReplacing(e, in, out, 0);
    e->processReplacing(e, in, out, -7);
    e->processDoubleReplacing(e, nullptr, nullptr, 0);
}

TEST(ProcessRouting, BadSampleRatesAreRefused)
{
    auto plugin = PassThroughPlugin();
    ASSERT_TRUE(plugin);
    for (float rate :
         {0.0f, -44100.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
        plugin->Dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate);
    plugin->settings.playing = true;
    AEffect* e = plugin->Effect();
    std::vector<float> left(64, 0.0f), right(64, 0.0f), outLeft(64), outRight(64);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 20; ++block)
    {
        e->processReplacing(e, in, out, 64);
        for (int i = 0; i < 64; ++i)
            ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i]));
    }
}
} // namespace tpm
