// Changes the host makes between blocks, as the next block hears them.
#include "plugin/PluginInstance.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <vector>

namespace tpm
{
namespace
{
constexpr int kFrames = 512;

// Volume swung by a fast free LFO, so that a restart of the LFOs is heard at once; `between` runs
// after some blocks, and the block after it is returned.
template <typename Between> std::vector<float> BlockAfter(Between between)
{
    const auto product = PluginInstance::Create();
    EXPECT_TRUE(product && product->Activate(48000.0, kFrames));
    product->StartProcessing();
    std::vector<float> left(kFrames), right(kFrames);
    float* outputs[] = {left.data(), right.data()};
    const AudioBlock<float> block{nullptr, 0, outputs, 2, kFrames};
    const std::vector<ParamChange> settings = {
        {0, kPlayAnyway, 1}, {0, kFade, 1}, {0, kLfo1Target, 4}, {0, kLfo1Sync, 0}, {0, kLfo1RateMs, 60}};
    product->Process(block, TransportSnapshot{}, settings);
    for (int i = 0; i < 7; ++i)
        product->Process(block, TransportSnapshot{}, {});
    between(*product, block);
    product->Process(block, TransportSnapshot{}, {});
    return left;
}
} // namespace

// The restart button pressed and let go before the next block still restarts the LFOs there, as a
// press and release within a block do.
TEST(ProductChanges, ARestartPressedAndLetGoBetweenBlocksIsHeard)
{
    const auto within = BlockAfter([](PluginInstance& product, const AudioBlock<float>& block) {
        const std::vector<ParamChange> press = {{0, kRestartLfos, 1}, {0, kRestartLfos, 0}};
        AudioBlock<float> empty = block;
        empty.frames = 0;
        product.Process(empty, TransportSnapshot{}, press);
    });
    const auto between = BlockAfter([](PluginInstance& product, const AudioBlock<float>&) {
        product.SetParamValue(kRestartLfos, 1);
        product.SetParamValue(kRestartLfos, 0);
    });
    const auto untouched = BlockAfter([](PluginInstance&, const AudioBlock<float>&) {});
    EXPECT_NE(within, untouched);
    EXPECT_EQ(between, within);
}
} // namespace tpm
