// Program selection and renaming as the host drives them.
#include "support/ParamIndex.h"
#include "tests/presets/ExpectedBank.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

TEST(ProgramChange, EditsStayWithTheProgramTheyWereMadeIn)
{
    PresetPlug plug;
    plug.SetProgram(1); // "Higher frequencies", 400 Hz
    EXPECT_EQ(plug.Program(), 1);
    EXPECT_EQ(plug.Values()[kBaseFreq], 400);
    plug.SetReal(kBaseFreq, 410);
    plug.SetProgram(0);
    EXPECT_EQ(plug.Values()[kBaseFreq], 200);
    plug.SetProgram(1);
    EXPECT_EQ(plug.Values()[kBaseFreq], 410);

    // Selecting the current program again stores and reads back the same values.
    plug.SetReal(kMix, 12);
    const std::vector<double> live = plug.Values();
    plug.SetProgram(1);
    EXPECT_EQ(plug.Values(), live);
}

TEST(ProgramChange, FreeSlotsBecomeNumberedUserPresets)
{
    PresetPlug plug;
    plug.SetProgram(12); // "Golden Square"
    plug.SetReal(kBinaural, 3.21);
    const std::vector<double> live = plug.Values();

    plug.SetProgram(141);
    EXPECT_EQ(plug.Program(), 141);
    EXPECT_EQ(plug.ProgramName(), "user preset 1");
    EXPECT_EQ(plug.Values(), live); // the live values carry over
    plug.SetProgram(149);
    EXPECT_EQ(plug.ProgramName(), "user preset 2");

    // A slot renamed to anything containing the phrase counts too; case matters.
    plug.SetProgram(3);
    plug.RenameProgram("my user preset");
    plug.SetProgram(4);
    plug.RenameProgram("User Preset");
    plug.SetProgram(142);
    EXPECT_EQ(plug.ProgramName(), "user preset 4");
    EXPECT_EQ(plug.ProgramName(143), "- 144 -");
}

TEST(ProgramChange, RenameWithEmptyTextKeepsTheName)
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
}

TEST(ProgramChange, LongNamesAreCutToTheField)
{
    PresetPlug plug;
    plug.RenameProgram(std::string(400, 'n'));
    EXPECT_EQ(plug.ProgramName(), std::string(255, 'n'));
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
