// The LV2 plug-in module through its entry point, as a host drives it: blocks of any size, controls
// read per block, the host's transport from time:Position events, and the bank kept by the state
// interface.
#include "lv2/Lv2TestHost.h"
#include "plugin/PluginInstance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tpm
{
namespace
{
constexpr double kRate = 48000.0;
constexpr uint32_t kBaseFreq = 0;
constexpr uint32_t kBinaural = 1;
constexpr uint32_t kPlayAnyway = 5;
constexpr uint32_t kMix = 7;
constexpr uint32_t kLfo1Target = 8;

bool Silent(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i)
        if (samples[i] != 0.0f)
            return false;
    return true;
}
} // namespace

TEST(Lv2Module, BlocksLongerThanTheHostsBoundPlayAsThatManyBoundedBlocks)
{
    Lv2TestHost whole(kRate, 64);
    Lv2TestHost pieces(kRate, 64);
    ASSERT_TRUE(whole.Ready()) << whole.Error();
    ASSERT_TRUE(pieces.Ready()) << pieces.Error();
    std::vector<float> a, b;
    for (Lv2TestHost* host : {&whole, &pieces})
        host->Control(kPlayAnyway) = 1.0f;
    whole.Run(1000, &a);
    for (int k = 0; k < 15; ++k)
        pieces.Run(64, &b);
    pieces.Run(40, &b);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a, b);
    EXPECT_FALSE(Silent(a, 0, a.size()));
}

TEST(Lv2Module, EmptyAndChangingBlocksTakeControlChanges)
{
    Lv2TestHost host(kRate, 0);
    ASSERT_TRUE(host.Ready()) << host.Error();
    std::vector<float> out;
    host.Run(0);
    host.Run(100, &out);
    EXPECT_TRUE(Silent(out, 0, out.size())) << "no transport and Play Anyway off: no tone";
    // A block of no frames still hands the change over.
    host.Control(kPlayAnyway) = 1.0f;
    host.Run(0);
    for (const uint32_t frames : {1u, 7u, 300u, 5000u, 2u})
        host.Run(frames, &out);
    EXPECT_FALSE(Silent(out, 100, out.size()));
    for (const float sample : out)
        ASSERT_TRUE(std::isfinite(sample));
}

TEST(Lv2Module, TheTransportFromTimePositionStartsTheToneAtItsFrame)
{
    Lv2TestHost host(kRate, 0);
    ASSERT_TRUE(host.Ready()) << host.Error();
    std::vector<float> out;
    host.Run(256, &out);
    host.QueuePosition(100, 1.0f, 120.0f);
    host.Run(256, &out);
    EXPECT_TRUE(Silent(out, 0, 256 + 101)) << "the tone starts after the position's frame";
    EXPECT_FALSE(Silent(out, 256 + 101, out.size()));
    // Stopped again: the tone fades out within the next block and stays silent.
    host.QueuePosition(0, 0.0f, 120.0f);
    out.clear();
    host.Run(256, &out);
    host.Run(256, &out);
    EXPECT_TRUE(Silent(out, 256, out.size()));
}

TEST(Lv2Module, ASyncedLfoFollowsTheHostsTempo)
{
    const auto render = [](float bpm) {
        Lv2TestHost host(kRate, 0);
        std::vector<float> out;
        if (!host.Ready())
            return out;
        host.Control(kLfo1Target) = 1.0f; // on "Base Freq", synced by default
        host.QueuePosition(0, 1.0f, bpm, 3, 1.5f);
        for (int k = 0; k < 40; ++k)
            host.Run(1024, &out);
        return out;
    };
    const std::vector<float> slow = render(60.0f);
    const std::vector<float> fast = render(180.0f);
    ASSERT_EQ(slow.size(), 40u * 1024u);
    EXPECT_FALSE(Silent(slow, 0, slow.size()));
    EXPECT_NE(slow, fast);
}

TEST(Lv2Module, WorksWithoutAMapButKeepsNoState)
{
    Lv2TestHost host(kRate, 0, false);
    ASSERT_TRUE(host.Ready()) << host.Error();
    std::vector<float> out;
    host.Control(kPlayAnyway) = 1.0f;
    host.Run(512, &out);
    EXPECT_FALSE(Silent(out, 0, out.size()));
    std::vector<uint8_t> state;
    EXPECT_FALSE(host.SaveState(state));
}

TEST(Lv2Module, StateCarriesTheWholeBankAndRestoresAllOrNothing)
{
    // A bank edited in another format: program 3 selected and changed.
    std::unique_ptr<PluginInstance> product = PluginInstance::Create();
    ASSERT_TRUE(product);
    product->Programs().Select(3);
    product->SetParamValue(kBaseFreq, 321.0);
    std::vector<uint8_t> edited;
    ASSERT_TRUE(product->SaveState(edited));

    Lv2TestHost host(kRate, 0);
    ASSERT_TRUE(host.Ready()) << host.Error();
    std::vector<uint8_t> before;
    ASSERT_TRUE(host.SaveState(before));
    EXPECT_NE(before, edited);
    EXPECT_EQ(host.RestoreState(edited), LV2_STATE_SUCCESS);
    std::vector<uint8_t> after;
    ASSERT_TRUE(host.SaveState(after));
    EXPECT_EQ(after, edited) << "every slot, its name and the current program come back";

    // Damaged data and the wrong type change nothing.
    std::vector<uint8_t> damaged(edited.begin(), edited.begin() + static_cast<long>(edited.size() / 2));
    EXPECT_NE(host.RestoreState(damaged), LV2_STATE_SUCCESS);
    EXPECT_EQ(host.RestoreState(before, false), LV2_STATE_ERR_BAD_TYPE);
    std::vector<uint8_t> still;
    ASSERT_TRUE(host.SaveState(still));
    EXPECT_EQ(still, edited);
}

TEST(Lv2Module, AfterARestoreThePortsSayWhatPlays)
{
    // The state says Base Freq 321 and Mix 100; the host's ports say 200 and 100.
    std::unique_ptr<PluginInstance> product = PluginInstance::Create();
    ASSERT_TRUE(product);
    product->SetParamValue(kBaseFreq, 321.0);
    product->SetParamValue(kMix, 100.0);
    std::vector<uint8_t> state;
    ASSERT_TRUE(product->SaveState(state));

    const auto render = [&state](bool restore, float baseFreq) {
        Lv2TestHost host(kRate, 0);
        std::vector<float> out;
        host.Control(kPlayAnyway) = 1.0f;
        host.Control(kMix) = 100.0f;
        host.Control(kBinaural) = 0.0f;
        host.Control(kBaseFreq) = baseFreq;
        host.Run(64);
        if (restore && host.RestoreState(state) != LV2_STATE_SUCCESS)
            return out;
        host.Run(48000, &out);
        return out;
    };
    const std::vector<float> restoredWithPortsAt200 = render(true, 200.0f);
    ASSERT_FALSE(restoredWithPortsAt200.empty());
    EXPECT_EQ(restoredWithPortsAt200, render(false, 200.0f));
}

TEST(Lv2Module, TheStateKeepsTheEditorsScaleAndItsPortTellsIt)
{
    Lv2TestHost first(kRate, 64);
    ASSERT_TRUE(first.Ready()) << first.Error();
    first.Run(64);
    EXPECT_EQ(first.Control(Lv2TestHost::kEditorScale), 0.0f); // none chosen yet
    first.QueueEditorScale(2.0f);
    first.Run(64);
    EXPECT_EQ(first.Control(Lv2TestHost::kEditorScale), 2.0f);
    std::vector<uint8_t> state;
    ASSERT_TRUE(first.SaveState(state));

    Lv2TestHost second(kRate, 64);
    ASSERT_TRUE(second.Ready()) << second.Error();
    ASSERT_EQ(second.RestoreState(state), LV2_STATE_SUCCESS);
    second.Run(64);
    EXPECT_EQ(second.Control(Lv2TestHost::kEditorScale), 2.0f);
}
} // namespace tpm
