// The factory bank as the host sees it: every name byte for byte as the product lists it, and
// what holds across the bank. Every name and value is pinned in tests/product/product.golden.
#include "support/ParamIndex.h"
#include "tests/presets/ExpectedBank.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
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
    const std::vector<std::string> names = ProductProgramNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kSlots));
    std::size_t longest = 0;
    int withDashBytes = 0;
    for (int s = 0; s < kSlots; ++s)
    {
        char text[512];
        std::memset(text, 0x55, sizeof text);
        EXPECT_EQ(plug.Dispatch(vst::effGetProgramNameIndexed, s, 0, text), 1);
        EXPECT_EQ(text, names[static_cast<std::size_t>(s)]) << "slot " << s + 1;
        longest = std::max(longest, std::strlen(text));
        withDashBytes += std::strstr(text, "\xC2\x96") ? 1 : 0;
    }
    EXPECT_EQ(longest, 84u);
    EXPECT_EQ(withDashBytes, 36); // slots 104 to 141 but 136 and 137
    EXPECT_EQ(plug.ProgramName(), "---- default ----");
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
