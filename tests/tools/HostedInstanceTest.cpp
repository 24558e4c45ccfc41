// The format-neutral face of a hosted plug-in, where no vsthost command reaches: state through every
// format, and CLAP parameter events landing on their frame within a block.
#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/ClapHostedPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tpm
{
namespace
{
std::unique_ptr<HostedInstance> Open(const char* path)
{
    std::string error;
    auto plugin = OpenHostedInstance(path, error, HostSettings{});
    EXPECT_TRUE(plugin) << error;
    if (plugin)
        plugin->Open();
    return plugin;
}

int Find(HostedInstance& plugin, const std::string& name)
{
    for (int i = 0; i < plugin.ParamCount(); ++i)
        if (plugin.ParamName(i) == name)
            return i;
    return -1;
}
} // namespace

TEST(HostedInstance, StateSavedFromOneInstanceLoadsIntoAnother)
{
    for (const char* path : {TPM_TEST_CLAP_PATH, TPM_CLAP_MODULE_PATH, TPM_MODULE_PATH, TPM_VST3_BUNDLE_PATH,
                             TPM_TEST_VST3_SPLIT_PATH})
    {
        SCOPED_TRACE(path);
        auto first = Open(path);
        auto second = Open(path);
        ASSERT_TRUE(first && second);
        const int index = first->ParamCount() > 0 ? 0 : -1;
        ASSERT_GE(index, 0);
        first->SetParamNormalized(index, 0.25);
        const std::string wanted = first->ParamDisplay(index);
        std::vector<uint8_t> state;
        ASSERT_TRUE(first->SaveState(state));
        ASSERT_FALSE(state.empty());
        const std::string before = second->ParamDisplay(index);
        ASSERT_NE(before, wanted);
        EXPECT_TRUE(second->LoadState(state));
        EXPECT_EQ(second->ParamDisplay(index), wanted);
    }
}

TEST(HostedInstance, ClapValuesTakeEffectAtTheirFrame)
{
    std::string error;
    auto plugin = ClapHostedPlugin::Load(TPM_TEST_CLAP_PATH, error, HostSettings{});
    ASSERT_TRUE(plugin) << error;
    const int gain = Find(*plugin, "Gain");
    ASSERT_GE(gain, 0);
    plugin->Configure(48000.0, 8);
    ASSERT_TRUE(plugin->Resume());
    std::vector<double> left(8, 1.0), right(8, 1.0), outLeft(8), outRight(8);
    double* in[] = {left.data(), right.data()};
    double* out[] = {outLeft.data(), outRight.data()};
    plugin->SetValueAt(gain, 20.0 * std::log10(0.5), 5);
    plugin->SetValueAt(gain, 20.0 * std::log10(0.25), 3); // queued later, due earlier
    plugin->Process(in, out, 8);
    const std::vector<double> wanted = {1.0, 1.0, 1.0, 0.25, 0.25, 0.5, 0.5, 0.5};
    for (std::size_t i = 0; i < wanted.size(); ++i)
    {
        EXPECT_NEAR(outLeft[i], wanted[i], 1e-12) << "frame " << i;
        EXPECT_NEAR(outRight[i], wanted[i], 1e-12) << "frame " << i;
    }
    plugin->Suspend();
}
} // namespace tpm
