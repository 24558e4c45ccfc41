// Programs through the product: edits staying with the program they were made in, and free slots
// becoming numbered user presets. What each factory program holds is pinned in product.golden.
#include "plugin/PluginInstance.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <vector>

namespace tpm
{
namespace
{
std::vector<double> Values(const PluginInstance& product)
{
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(product.ParamCount()));
    for (int i = 0; i < product.ParamCount(); ++i)
        values.push_back(product.ParamValue(i));
    return values;
}
} // namespace

TEST(ProductPrograms, EditsStayWithTheProgramTheyWereMadeIn)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    ASSERT_TRUE(product->Programs().Select(1)); // "Higher frequencies", 400 Hz
    EXPECT_EQ(product->Programs().Current(), 1);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 400);
    product->SetParamValue(kBaseFreq, 410);
    product->Programs().Select(0);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 200);
    product->Programs().Select(1);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 410);

    // Selecting the current program again stores and reads back the same values.
    product->SetParamValue(kMix, 12);
    const std::vector<double> live = Values(*product);
    product->Programs().Select(1);
    EXPECT_EQ(Values(*product), live);
}

TEST(ProductPrograms, FreeSlotsBecomeNumberedUserPresetsWithTheLiveValues)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    product->Programs().Select(12); // "Golden Square"
    product->SetParamValue(kBinaural, 3.21);
    const std::vector<double> live = Values(*product);

    EXPECT_FALSE(product->Programs().InUse(141));
    ASSERT_TRUE(product->Programs().Select(141));
    EXPECT_EQ(product->Programs().Current(), 141);
    EXPECT_STREQ(product->Programs().Name(141), "user preset 1");
    EXPECT_TRUE(product->Programs().InUse(141));
    EXPECT_EQ(Values(*product), live);
    product->Programs().Select(149);
    EXPECT_STREQ(product->Programs().Name(149), "user preset 2");
    EXPECT_STREQ(product->Programs().Name(143), "- 144 -");

    for (const int outside : {-1, 150})
        EXPECT_FALSE(product->Programs().Select(outside));
    EXPECT_EQ(product->Programs().Current(), 149);
}
} // namespace tpm
