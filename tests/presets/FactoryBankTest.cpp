// The factory bank as the host sees it: every name byte for byte and the values of a sample
// of presets from each group, including those whose values differ from their names.
#include "support/ParamIndex.h"
#include "tests/presets/ExpectedBank.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
using Row = std::vector<double>;

// Full rows, written out by hand from the factory list.
struct Sample
{
    int slot; // counted from 1
    Row values;
};

// clang-format off
const Sample kSamples[] = {
    {1,   {200, 4,    0, 100, 0, 0, 1000, 50,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {2,   {400, 4,    0, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {3,   {200, 4,    0, 100, 0, 1, 1000, 90,  2, 0, 1, 21, 2000, 20,  0,  4, 0, 1, 18, 2000, 40, 0, 0}},
    {4,   {200, 4,    4, 100, 0, 1, 1000, 90,  2, 0, 1, 21, 2000, 20,  0,  4, 0, 1, 18, 2000, 40, 0, 0}},
    {5,   {200, 55,   4, 0,   0, 1, 1000, 90,  3, 0, 1, 21, 2000, 100, 0,  4, 0, 1, 18, 2000, 40, 0, 0}},
    {6,   {300, 5,    0, 100, 0, 1, 1000, 90,  1, 0, 1, 21, 2000, 30,  0,  4, 0, 1, 18, 2000, 40, 0, 0}},
    {8,   {200, 4,    2, 100, 0, 1, 1000, 70,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {11,  {200, 4,    5, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {13,  {200, 4,    7, 100, 0, 1, 1000, 60,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {14,  {200, 0.2,  0, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {37,  {200, 4,    0, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {65,  {200, 30,   4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {73,  {200, 63,   0, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {74,  {200, 70,   4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {76,  {200, 90,   4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {83,  {200, 10,   4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {88,  {200, 7.83, 0, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {103, {200, 221.23, 0, 100, 0, 1, 1000, 90, 0, 0, 1, 15, 2000, 90, 0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {104, {110, 0,    4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {108, {200, 0,    4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {121, {586, 0,    4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {126, {528, 0,    4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {127, {528, 0,    4, 100, 0, 1, 1000, 80,  4, 0, 1, 18, 2000, 40,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {136, {174, 0,    4, 100, 0, 1, 1000, 90,  0, 0, 1, 15, 2000, 90,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {137, {174, 0,    4, 100, 0, 1, 1000, 80,  4, 0, 1, 18, 2000, 40,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
    {141, {936, 0,    4, 100, 0, 1, 1000, 80,  4, 0, 1, 18, 2000, 40,  0,  0, 0, 1, 15, 2000, 90, 0, 0}},
};
// clang-format on

std::vector<BankSlot> FactorySlots()
{
    PresetPlug plug;
    std::vector<BankSlot> slots;
    EXPECT_TRUE(ParseBank(plug.GetChunk(true), slots));
    return slots;
}
} // namespace

TEST(FactoryBank, EveryNameByteForByte)
{
    PresetPlug plug;
    ASSERT_EQ(plug.Effect()->numPrograms, kSlots);
    std::size_t longest = 0;
    int withDashBytes = 0;
    for (int s = 0; s < kSlots; ++s)
    {
        char text[512];
        std::memset(text, 0x55, sizeof text);
        EXPECT_EQ(plug.Dispatch(vst::effGetProgramNameIndexed, s, 0, text), 1);
        EXPECT_STREQ(text, kExpectedNames[s]) << "slot " << s + 1;
        longest = std::max(longest, std::strlen(text));
        withDashBytes += std::strstr(text, "\xC2\x96") ? 1 : 0;
    }
    EXPECT_EQ(longest, 84u);
    EXPECT_EQ(withDashBytes, 36); // slots 104 to 141 but 136 and 137
    EXPECT_EQ(plug.ProgramName(), "---- default ----");
}

TEST(FactoryBank, SampleValuesPerGroup)
{
    const std::vector<BankSlot> slots = FactorySlots();
    ASSERT_EQ(slots.size(), static_cast<std::size_t>(kSlots));
    for (const Sample& sample : kSamples)
        EXPECT_EQ(slots[sample.slot - 1].values, sample.values) << "slot " << sample.slot;
}

TEST(FactoryBank, EverySlotInUseHoldsOneSetAndPresetsSharingValuesAreBothKept)
{
    const std::vector<BankSlot> slots = FactorySlots();
    ASSERT_EQ(slots.size(), static_cast<std::size_t>(kSlots));
    for (int s = 0; s < kSlots; ++s)
    {
        ASSERT_EQ(slots[s].values.size(), s < kFactorySlots ? std::size_t{kParams} : 0u) << "slot " << s + 1;
        if (s < kFactorySlots)
        {
            EXPECT_EQ(slots[s].values[kRestartLfos], 0) << "slot " << s + 1;
        }
    }
    // 8.0, 9.0 and 15.0 appear twice under different names.
    for (auto [a, b] : {std::pair{53, 81}, {55, 82}, {61, 87}})
    {
        EXPECT_NE(slots[a - 1].name, slots[b - 1].name);
        EXPECT_EQ(slots[a - 1].values, slots[b - 1].values);
    }
    // Binaural rates: Base Freq 200 and the number in the name, except "63.5".
    for (int s = 14; s <= 103; ++s)
    {
        const BankSlot& slot = slots[s - 1];
        EXPECT_EQ(slot.values[kBaseFreq], 200) << slot.name;
        const double named = std::strtod(slot.name.c_str() + std::strlen("Binaural - "), nullptr);
        EXPECT_EQ(slot.values[kBinaural], s == 73 ? 63.0 : named) << slot.name;
    }
}

TEST(FactoryBank, LoadingShowsTheListedDisplays)
{
    PresetPlug plug;
    plug.SetProgram(36); // "Binaural - 4.0 (Extrasensory perception, astral Projection)"
    EXPECT_EQ(plug.Display(kBaseFreq), "200.0");
    EXPECT_EQ(plug.Display(kBinaural), "4.00");
    EXPECT_EQ(plug.Display(kWave), "Sine");

    plug.SetProgram(126); // "Solfeggio MI ... 528 Hz LFO"
    EXPECT_EQ(plug.Display(kBaseFreq), "528.0");
    EXPECT_EQ(plug.Display(kBinaural), "0");
    EXPECT_EQ(plug.Display(kWave), "Golden Sine");
    EXPECT_EQ(plug.Display(kMix), "80");
    EXPECT_EQ(plug.Display(kLfo1Target), "Volume");
    EXPECT_EQ(plug.Display(kLfo1RateSync), "2/1");
    EXPECT_EQ(plug.Display(kLfo1Depth), "40");

    plug.SetProgram(107); // "Healing ... 220 Hz (Lungs)"
    EXPECT_EQ(plug.Display(kBaseFreq), "200.0");
    plug.SetProgram(72); // "Binaural - 63.5 (Astral projection)"
    EXPECT_EQ(plug.Display(kBinaural), "63.00");
}
