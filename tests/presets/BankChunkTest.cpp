// Bank chunks as the VST2 build saves them, byte for byte: stored projects and .fxb files hold them.
// What they carry and how damaged ones are refused is the product's (tests/product).
#include "plugin/PluginInstance.h"
#include "support/BankBytes.h"
#include "support/ParamIndex.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

namespace tpm
{
TEST(BankChunk, TheFactoryBankHoldsEverySlotsNameFlagAndValues)
{
    PresetPlug plug;
    std::size_t expected = 8 + kFactorySlots * kParams * 8;
    for (int s = 0; s < kSlots; ++s)
        expected += 4 + plug.ProgramName(s).size() + 1;
    const std::vector<uint8_t> chunk = plug.GetChunk(true);
    EXPECT_EQ(chunk.size(), expected);
    EXPECT_EQ(std::vector<uint8_t>(chunk.begin(), chunk.begin() + 8), BankHeader());

    std::vector<BankSlot> slots;
    ASSERT_TRUE(ParseBank(chunk, slots));
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    for (int s = 0; s < kSlots; ++s)
    {
        EXPECT_EQ(slots[s].name, product->Programs().Name(s)) << "slot " << s + 1;
        ASSERT_EQ(slots[s].inUse, product->Programs().InUse(s)) << "slot " << s + 1;
        if (!slots[s].inUse)
            continue;
        product->Programs().Select(s);
        for (int p = 0; p < kParams; ++p)
            EXPECT_EQ(slots[s].values[p], product->ParamValue(p)) << "slot " << s + 1 << " parameter " << p;
    }
}

TEST(BankChunk, OldVersionIsReadAsAProgram)
{
    PresetPlug plug;
    std::vector<uint8_t> chunk = {0x74, 0x66, 0x66, 0x70};
    AppendInt32(chunk, 0xFFFF);
    for (int p = 0; p < kParams; ++p)
        AppendDouble(chunk, p == kBaseFreq ? 640.0 : 0.0);
    EXPECT_EQ(plug.SetChunk(chunk, true), 1);
    EXPECT_EQ(plug.Values()[kBaseFreq], 640);
    EXPECT_EQ(plug.ProgramName(0), "---- default ----");
}
} // namespace tpm
