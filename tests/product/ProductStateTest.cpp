// The product's state as bytes: the container every new format saves, a round trip into a fresh
// instance, and bank data that loads all or nothing.
#include "plugin/PluginInstance.h"
#include "support/BankBytes.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <climits>

namespace tpm
{
namespace
{
std::vector<uint8_t> Saved(PluginInstance& product)
{
    std::vector<uint8_t> state;
    EXPECT_TRUE(product.SaveState(state));
    return state;
}
} // namespace

TEST(ProductState, TheContainerRoundTripsEverySlotIntoAFreshInstance)
{
    const auto first = PluginInstance::Create();
    ASSERT_TRUE(first);
    first->Programs().Select(7);
    first->SetParamValue(kBaseFreq, 345.6);
    first->Programs().Select(145); // a free slot: becomes a user preset with the live values
    first->SetParamValue(kMix, 33);
    first->Programs().Select(20);
    const std::vector<uint8_t> state = Saved(*first);
    // Magic, version 2, the parameter count and the current program, then the bank chunk with its
    // own header.
    ASSERT_GT(state.size(), 24u);
    EXPECT_EQ(std::vector<uint8_t>(state.begin(), state.begin() + 24),
              (std::vector<uint8_t>{'t', 'P', 'T', 'M', 2,   0,   0,   0,   23, 0, 0, 0,
                                    20,  0,   0,   0,   't', 'f', 'f', 'p', 0,  0, 1, 0}));

    const auto second = PluginInstance::Create();
    ASSERT_TRUE(second);
    const double defaultMix = second->ParamValue(kMix);
    ASSERT_TRUE(second->LoadState(state));
    EXPECT_EQ(Saved(*second), state);
    EXPECT_STREQ(second->Programs().Name(145), "user preset 1");
    EXPECT_TRUE(second->Programs().InUse(145));
    EXPECT_FALSE(second->Programs().InUse(146));

    // The saved current program comes back with its values; a version 1 container names none, so
    // the current index stays and the current slot's values go live.
    EXPECT_EQ(second->Programs().Current(), 20);
    std::vector<uint8_t> older(state.begin(), state.begin() + 12);
    older[4] = 1;
    older.insert(older.end(), state.begin() + 16, state.end());
    const auto third = PluginInstance::Create();
    ASSERT_TRUE(third);
    ASSERT_TRUE(third->LoadState(older));
    EXPECT_EQ(third->Programs().Current(), 0);
    EXPECT_EQ(third->ParamValue(kMix), defaultMix);
    second->Programs().Select(7);
    EXPECT_EQ(second->ParamValue(kBaseFreq), 345.6);
    second->Programs().Select(145);
    EXPECT_EQ(second->ParamValue(kBaseFreq), 345.6);
    EXPECT_EQ(second->ParamValue(kMix), 33);
}

TEST(ProductState, NamesAreCutToTheirFieldAndStopAtAZero)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    std::vector<uint8_t> bank = BankHeader(); // a bare bank chunk, as the VST2 build saves it
    AppendSlot(bank, std::string(1000, 'x'), true, 300);
    AppendSlot(bank, std::string("two\0hidden", 10), true, 400);
    AppendSlot(bank, "", false);
    for (int s = 3; s < kSlots; ++s)
        AppendSlot(bank, "s" + std::to_string(s), false);
    ASSERT_TRUE(product->LoadState(bank));
    EXPECT_EQ(product->Programs().Name(0), std::string(255, 'x'));
    EXPECT_STREQ(product->Programs().Name(1), "two");
    EXPECT_STREQ(product->Programs().Name(2), "");
    EXPECT_STREQ(product->Programs().Name(149), "s149");
    EXPECT_EQ(product->ParamValue(kBaseFreq), 300);
    product->Programs().Select(1);
    EXPECT_EQ(product->ParamValue(kBaseFreq), 400);
}

// A damaged bank is refused whole: a name length that runs outside the block, a missing in-use
// byte, or values cut short leave every slot and the live values as they were.
TEST(ProductState, DamagedBanksAreRefusedAndChangeNothing)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    product->SetParamValue(kBaseFreq, 880);
    const std::vector<uint8_t> before = Saved(*product);

    std::vector<std::vector<uint8_t>> damaged;
    for (const int32_t length : {-1, -12, INT_MIN, INT_MAX, INT_MAX - 3, 1 << 20})
    {
        std::vector<uint8_t> bank = BankHeader();
        AppendSlot(bank, "first", true, 300);
        AppendInt32(bank, length);
        bank.insert(bank.end(), {'a', 'b', 1, 0, 0, 0});
        damaged.push_back(bank);
    }
    std::vector<uint8_t> noInUseByte = BankHeader();
    AppendSlot(noInUseByte, "only name", true, 300);
    AppendInt32(noInUseByte, 4);
    noInUseByte.insert(noInUseByte.end(), {'n', 'e', 'x', 't'});
    damaged.push_back(noInUseByte);
    std::vector<uint8_t> valuesCutShort = BankHeader();
    for (int s = 0; s < 142; ++s)
        AppendSlot(valuesCutShort, "full", true);
    AppendSlot(valuesCutShort, "half", true);
    valuesCutShort.resize(valuesCutShort.size() - 8 * (kParams - 2));
    damaged.push_back(valuesCutShort);

    for (const std::vector<uint8_t>& bank : damaged)
    {
        EXPECT_FALSE(product->LoadState(bank));
        EXPECT_EQ(Saved(*product), before);
    }
    EXPECT_EQ(product->ParamValue(kBaseFreq), 880);
}
} // namespace tpm
