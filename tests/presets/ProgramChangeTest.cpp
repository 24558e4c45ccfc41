// Programs as a VST2 host lists, selects and renames them through its opcodes.
#include "plugin/PluginInstance.h"
#include "support/BankBytes.h"
#include "support/ParamIndex.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tpm
{
TEST(ProgramChange, EveryNameIsListedByteForByteAsTheProductHasIt)
{
    PresetPlug plug;
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    ASSERT_EQ(plug.Effect()->numPrograms, product->Programs().Count());
    for (int s = 0; s < kSlots; ++s)
    {
        char text[512];
        std::memset(text, 0x55, sizeof text);
        EXPECT_EQ(plug.Dispatch(vst::effGetProgramNameIndexed, s, 0, text), 1);
        EXPECT_STREQ(text, product->Programs().Name(s)) << "slot " << s + 1;
    }
    EXPECT_EQ(plug.Program(), 0);
    EXPECT_EQ(plug.ProgramName(), "---- default ----");
    EXPECT_EQ(plug.Dispatch(vst::effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

TEST(ProgramChange, RenamingKeepsANameOnEmptyTextCutsItToTheFieldAndCountsForUserPresets)
{
    PresetPlug plug;
    plug.SetProgram(9);
    plug.SetReal(kFade, 2500);
    plug.RenameProgram("");
    EXPECT_EQ(plug.ProgramName(), "Golden Sine");
    plug.RenameProgram("Renamed");
    EXPECT_EQ(plug.ProgramName(9), "Renamed");
    plug.SetProgram(0);
    plug.SetProgram(9);
    EXPECT_EQ(plug.Values()[kFade], 2500);
    plug.RenameProgram(std::string(400, 'n'));
    EXPECT_EQ(plug.ProgramName(), std::string(255, 'n'));

    // A slot renamed to anything containing the phrase counts as a user preset; case matters.
    plug.SetProgram(3);
    plug.RenameProgram("my user preset");
    plug.SetProgram(4);
    plug.RenameProgram("User Preset");
    plug.SetProgram(142);
    EXPECT_EQ(plug.ProgramName(), "user preset 2");
}

TEST(ProgramChange, IndicesOutsideTheBankAreIgnored)
{
    PresetPlug plug;
    plug.SetProgram(2);
    const std::vector<uint8_t> bank = plug.GetChunk(true);
    for (int index : {-1, 150, 1 << 30})
    {
        plug.SetProgram(index);
        EXPECT_EQ(plug.Program(), 2);
        char text[8] = {'x', 0};
        EXPECT_EQ(plug.Dispatch(vst::effGetProgramNameIndexed, index, 0, text), 0);
        EXPECT_STREQ(text, "");
    }
    EXPECT_EQ(plug.Dispatch(vst::effSetProgram, 0, intptr_t{1} << 33), 0);
    EXPECT_EQ(plug.Program(), 2);
    EXPECT_EQ(plug.GetChunk(true), bank);
}
} // namespace tpm
