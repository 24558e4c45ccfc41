// Bank chunks: every slot's name, in-use flag and values, and how reading copes with damaged
// or hostile bytes.
#include "support/ParamIndex.h"
#include "tests/presets/ExpectedBank.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace
{
std::vector<uint8_t> Header()
{
    std::vector<uint8_t> bytes = {0x74, 0x66, 0x66, 0x70};
    AppendInt32(bytes, 0x10000);
    return bytes;
}

void AppendSlot(std::vector<uint8_t>& bytes, const std::string& name, bool inUse, double baseFreq = 200)
{
    AppendInt32(bytes, static_cast<int32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(inUse ? 1 : 0);
    if (inUse)
        for (int p = 0; p < kParams; ++p)
            AppendDouble(bytes, p == kBaseFreq ? baseFreq : 0.0);
}

// The position of slot `slot`'s name length in a well-formed bank chunk.
std::size_t SlotOffset(const std::vector<uint8_t>& chunk, int slot)
{
    std::size_t at = 8;
    for (int s = 0; s < slot; ++s)
    {
        at += 4 + static_cast<std::size_t>(Int32At(chunk, at));
        at += chunk[at] ? 1 + kParams * 8 : 1;
    }
    return at;
}
} // namespace

TEST(BankChunk, SizeAfterConstruction)
{
    PresetPlug plug;
    std::size_t expected = 8 + kFactorySlots * kParams * 8;
    for (int s = 0; s < kSlots; ++s)
        expected += 4 + plug.ProgramName(s).size() + 1;
    const std::vector<uint8_t> chunk = plug.GetChunk(true);
    EXPECT_EQ(chunk.size(), expected);
    EXPECT_EQ(std::vector<uint8_t>(chunk.begin(), chunk.begin() + 8), Header());

    std::vector<BankSlot> slots;
    ASSERT_TRUE(ParseBank(chunk, slots));
    const std::vector<std::string> names = ProductProgramNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kSlots));
    for (int s = 0; s < kSlots; ++s)
    {
        EXPECT_EQ(slots[s].name, names[s]) << "slot " << s + 1;
        EXPECT_EQ(slots[s].inUse, s < kFactorySlots) << "slot " << s + 1;
    }
}

TEST(BankChunk, RoundTripIntoAFreshInstance)
{
    PresetPlug first;
    first.SetProgram(7);
    first.SetReal(kBaseFreq, 345.6);
    first.RenameProgram("Saw, edited");
    first.SetProgram(145); // a free slot: becomes a user preset with the live values
    first.SetReal(kMix, 33);
    first.SetProgram(20);
    const std::vector<uint8_t> bank = first.GetChunk(true);

    PresetPlug second;
    EXPECT_EQ(second.SetChunk(bank, true), 1);
    EXPECT_EQ(second.GetChunk(true), bank);
    EXPECT_EQ(second.ProgramName(7), "Saw, edited");
    EXPECT_EQ(second.ProgramName(145), "user preset 1");
    EXPECT_EQ(second.ProgramName(146), "- 147 -");

    std::vector<BankSlot> slots;
    ASSERT_TRUE(ParseBank(bank, slots));
    EXPECT_TRUE(slots[145].inUse);
    EXPECT_FALSE(slots[146].inUse);
    EXPECT_TRUE(slots[146].values.empty());
    EXPECT_EQ(slots[7].values[kBaseFreq], 345.6);
    EXPECT_EQ(slots[145].values[kBaseFreq], 345.6);
    EXPECT_EQ(slots[145].values[kMix], 33);

    // The current index stays; the current slot's values go live.
    EXPECT_EQ(second.Program(), 0);
    EXPECT_EQ(second.Values(), slots[0].values);
    second.SetProgram(145);
    EXPECT_EQ(second.Values()[kMix], 33);
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

TEST(BankChunk, NamesAreCutToTheirFieldAndStopAtAZero)
{
    PresetPlug plug;
    std::vector<uint8_t> chunk = Header();
    const std::string longName(1000, 'x');
    AppendSlot(chunk, longName, true, 300);
    AppendSlot(chunk, std::string("two\0hidden", 10), true, 400);
    AppendSlot(chunk, "", false);
    for (int s = 3; s < kSlots; ++s)
        AppendSlot(chunk, "s" + std::to_string(s), false);
    EXPECT_EQ(plug.SetChunk(chunk, true), 1);
    EXPECT_EQ(plug.ProgramName(0), std::string(255, 'x'));
    EXPECT_EQ(plug.ProgramName(1), "two");
    EXPECT_EQ(plug.ProgramName(2), "");
    EXPECT_EQ(plug.ProgramName(149), "s149");
    EXPECT_EQ(plug.Values()[kBaseFreq], 300);
    plug.SetProgram(1);
    EXPECT_EQ(plug.Values()[kBaseFreq], 400);
}

// A damaged bank is refused whole: a name length that runs outside the block, a missing in-use
// byte, or values cut short leave every slot and the live values as they were.
TEST(BankChunk, DamagedBanksAreRefusedAndChangeNothing)
{
    PresetPlug plug;
    plug.SetReal(kBaseFreq, 880);
    const std::vector<uint8_t> before = plug.GetChunk(true);
    const std::vector<double> live = plug.Values();

    std::vector<std::vector<uint8_t>> damaged;
    for (int32_t length : {-1, -12, INT_MIN, INT_MAX, INT_MAX - 3, 1 << 20})
    {
        std::vector<uint8_t> chunk = Header();
        AppendSlot(chunk, "first", true, 300);
        AppendInt32(chunk, length);
        chunk.insert(chunk.end(), {'a', 'b', 1, 0, 0, 0});
        damaged.push_back(chunk);
    }
    std::vector<uint8_t> noInUseByte = Header();
    AppendSlot(noInUseByte, "only name", true, 300);
    AppendInt32(noInUseByte, 4);
    noInUseByte.insert(noInUseByte.end(), {'n', 'e', 'x', 't'});
    damaged.push_back(noInUseByte);
    std::vector<uint8_t> valuesCutShort(before.begin(),
                                        before.begin() + static_cast<long>(SlotOffset(before, 142)));
    AppendInt32(valuesCutShort, 4);
    valuesCutShort.insert(valuesCutShort.end(), {'h', 'a', 'l', 'f', 1});
    AppendDouble(valuesCutShort, 500);
    AppendDouble(valuesCutShort, 6);
    damaged.push_back(valuesCutShort);

    for (const std::vector<uint8_t>& chunk : damaged)
    {
        EXPECT_EQ(plug.SetChunk(chunk, true), 0);
        EXPECT_EQ(plug.GetChunk(true), before);
        EXPECT_EQ(plug.Values(), live);
    }
    EXPECT_EQ(plug.ProgramName(1), ProductProgramNames()[1]);
}
