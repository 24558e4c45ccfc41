// The texts a user reads and types, through the product: numbers shown to their parameter's precision,
// and typed entries read the way every format and the editor read them.
#include "plugin/PluginInstance.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tpm
{
namespace
{
std::string Shown(const PluginInstance& product, int param, double value)
{
    char text[64] = "untouched";
    EXPECT_TRUE(product.FormatValue(param, value, text, sizeof text));
    return text;
}
} // namespace

TEST(ProductTexts, NumbersShowTheirParametersPrecision)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    EXPECT_EQ(Shown(*product, kBaseFreq, 200.0), "200.0");
    EXPECT_EQ(Shown(*product, kBinaural, 4.0), "4.00");
    for (const double zero : {0.0, -0.0, std::nan("")})
        EXPECT_EQ(Shown(*product, kBinaural, zero), "0");
    EXPECT_EQ(Shown(*product, kBinauralPan, -99.7), "-99"); // truncated toward zero
    EXPECT_EQ(Shown(*product, kBinauralPan, 1e12), "1000000000000");
    EXPECT_EQ(Shown(*product, kWave, 3.9), "Square"); // a list value between steps shows its step's text

    char small[4];
    ASSERT_TRUE(product->FormatValue(kWave, 3.0, small, sizeof small));
    EXPECT_STREQ(small, "Squ");
    EXPECT_FALSE(product->FormatValue(23, 0.0, small, sizeof small));
    EXPECT_FALSE(product->FormatValue(kWave, 0.0, small, 0));
}

TEST(ProductTexts, EntriesReadListTextsAndDecimalCommasAndLimitToTheRange)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    double v = 7.0;
    for (const char* none : {"abc", "a136.1", "", " ", "-", ".", ",", "nan", "inf", "1e999"})
    {
        EXPECT_FALSE(product->ParseValue(kBaseFreq, none, v)) << '"' << none << '"';
        EXPECT_EQ(v, 7.0) << '"' << none << '"';
    }
    EXPECT_FALSE(product->ParseValue(kBaseFreq, nullptr, v));
    EXPECT_FALSE(product->ParseValue(23, "1", v));

    const std::string longNumber(1000, '7');
    const struct
    {
        int param;
        const char* text;
        double value;
    } read[] = {
        {kBaseFreq, "136,1", 136.1},  {kBaseFreq, "440.5 Hz", 440.5}, {kBaseFreq, "99999 Hz", 20000.0},
        {kBaseFreq, "0", 20.0}, // a typed 0 is a value, limited to the range
        {kWave, "Gold. Square", 7.0}, {kLfo1RateSync, "1/4D", 11.0},  {kFade, longNumber.c_str(), 90000.0},
    };
    for (const auto& [param, text, value] : read)
    {
        ASSERT_TRUE(product->ParseValue(param, text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
}
} // namespace tpm
