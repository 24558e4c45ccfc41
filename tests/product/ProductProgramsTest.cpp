// Programs through the product: what a factory program shows, edits staying with the program they
// were made in, and free slots becoming numbered user presets.
#include "plugin/PluginInstance.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<double> Values(const PluginInstance& product)
{
    std::vector<double> values;
    for (int i = 0; i < product.ParamCount(); ++i)
        values.push_back(product.ParamValue(i));
    return values;
}

std::string Shown(const PluginInstance& product, int param)
{
    char text[64] = {};
    product.FormatValue(param, product.ParamValue(param), text, sizeof text);
    return text;
}
} // namespace

TEST(ProductPrograms, AFactoryProgramShowsItsListedTexts)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    ASSERT_TRUE(product->SelectProgram(36)); // "Binaural - 4.0 (Extrasensory perception, astral Projection)"
    EXPECT_EQ(Shown(*product, kBaseFreq), "200.0");
    EXPECT_EQ(Shown(*product, kBinaural), "4.00");
    EXPECT_EQ(Shown(*product, kWave), "Sine");

    ASSERT_TRUE(product->SelectProgram(126)); // "Solfeggio MI ... 528 Hz LFO"
    EXPECT_EQ(Shown(*product, kBaseFreq), "528.0");
    EXPECT_EQ(Shown(*product, kBinaural), "0");
    EXPECT_EQ(Shown(*product, kWave), "Golden Sine");
    EXPECT_EQ(Shown(*product, kMix), "80");
    EXPECT_EQ(Shown(*product, kLfo1Target), "Volume");
    EXPECT_EQ(Shown(*product, kLfo1RateSync), "2/1");
    EXPECT_EQ(Shown(*product, kLfo1Depth), "40");
}

TEST(ProductPrograms, EditsStayWithTheProgramTheyWereMadeIn)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    ASSERT_TRUE(product->SelectProgram(1)); // "Higher frequencies", 400 Hz
    EXPECT_EQ(product->CurrentProgram(), 1);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 400);
    product->SetParamValue(kBaseFreq, 410);
    product->SelectProgram(0);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 200);
    product->SelectProgram(1);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 410);

    // Selecting the current program again stores and reads back the same values.
    product->SetParamValue(kMix, 12);
    const std::vector<double> live = Values(*product);
    product->SelectProgram(1);
    EXPECT_EQ(Values(*product), live);
}

TEST(ProductPrograms, FreeSlotsBecomeNumberedUserPresetsWithTheLiveValues)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    product->SelectProgram(12); // "Golden Square"
    product->SetParamValue(kBinaural, 3.21);
    const std::vector<double> live = Values(*product);

    EXPECT_FALSE(product->ProgramInUse(141));
    ASSERT_TRUE(product->SelectProgram(141));
    EXPECT_EQ(product->CurrentProgram(), 141);
    EXPECT_STREQ(product->ProgramName(141), "user preset 1");
    EXPECT_TRUE(product->ProgramInUse(141));
    EXPECT_EQ(Values(*product), live);
    product->SelectProgram(149);
    EXPECT_STREQ(product->ProgramName(149), "user preset 2");
    EXPECT_STREQ(product->ProgramName(143), "- 144 -");

    for (const int outside : {-1, 150})
        EXPECT_FALSE(product->SelectProgram(outside));
    EXPECT_EQ(product->CurrentProgram(), 149);
}
