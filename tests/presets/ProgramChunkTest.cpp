// Program chunks: the live values behind an 8-byte header, and what reading back does with
// short, headerless and malformed data.
#include "support/BankBytes.h"
#include "support/ParamIndex.h"
#include "tests/presets/PresetPlug.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tpm
{
namespace
{
const std::vector<double> kDefaults = {200,  4,  0, 100, 0, 0, 1000, 50,   0,  0, 1, 15,
                                       2000, 90, 0, 0,   0, 1, 15,   2000, 90, 0, 0};

std::vector<uint8_t> BodyOf(const std::vector<double>& values)
{
    std::vector<uint8_t> bytes;
    for (double v : values)
        AppendDouble(bytes, v);
    return bytes;
}

std::vector<uint8_t> WithHeader(const std::vector<uint8_t>& body, int32_t version = 0x10000)
{
    std::vector<uint8_t> bytes = {0x74, 0x66, 0x66, 0x70};
    AppendInt32(bytes, version);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}
} // namespace

TEST(ProgramChunk, HeaderAndDefaultsAfterConstruction)
{
    PresetPlug plug;
    const std::vector<uint8_t> chunk = plug.GetChunk(false);
    ASSERT_EQ(chunk.size(), 192u);
    EXPECT_EQ(std::vector<uint8_t>(chunk.begin(), chunk.begin() + 8),
              (std::vector<uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(plug.Values(), kDefaults);
}

TEST(ProgramChunk, RoundTripRestoresEveryValue)
{
    PresetPlug plug;
    plug.SetReal(kBaseFreq, 432.5);
    plug.SetReal(kBinaural, 7.83);
    plug.SetReal(kWave, 6);
    plug.SetReal(kLfo2RateMs, 12345);
    const std::vector<uint8_t> saved = plug.GetChunk(false);
    const std::vector<double> expected = plug.Values();
    EXPECT_EQ(expected[kBaseFreq], 432.5);

    plug.SetReal(kBaseFreq, 1000);
    plug.SetReal(kWave, 1);
    plug.SetReal(kLfo2RateMs, 60);
    EXPECT_EQ(plug.SetChunk(saved, false), 1);
    EXPECT_EQ(plug.Values(), expected);
    EXPECT_EQ(plug.Display(kBaseFreq), "432.5");
    EXPECT_EQ(plug.Display(kWave), "Gold. Triangle");
}

TEST(ProgramChunk, ShortDataIsRefusedAndChangesNothing)
{
    PresetPlug plug;
    std::vector<double> values = kDefaults;
    values[kBaseFreq] = 300;
    values[kLfo2Start] = 25;
    std::vector<uint8_t> chunk = WithHeader(BodyOf(values));
    chunk.resize(184); // the last value is cut off

    plug.SetReal(kBaseFreq, 1000);
    plug.SetReal(kLfo2Start, 50);
    plug.SetReal(kBinaural, 9);
    const std::vector<double> before = plug.Values();
    EXPECT_EQ(plug.SetChunk(chunk, false), 0);
    EXPECT_EQ(plug.Values(), before);
    EXPECT_EQ(plug.SetChunk(WithHeader({1, 2, 3}), false), 0); // cut inside the first value
    EXPECT_EQ(plug.Values(), before);
    EXPECT_EQ(plug.Values()[kBaseFreq], 1000);
}

TEST(ProgramChunk, MagicWithoutVersionReadsNothing)
{
    PresetPlug plug;
    plug.SetReal(kBaseFreq, 880);
    for (std::size_t size = 4; size < 8; ++size)
    {
        std::vector<uint8_t> chunk = WithHeader({});
        chunk.resize(size);
        EXPECT_EQ(plug.SetChunk(chunk, false), 0);
        EXPECT_EQ(plug.SetChunk(chunk, true), 0);
        EXPECT_EQ(plug.Values()[kBaseFreq], 880);
    }
}

TEST(ProgramChunk, DataWithoutMagicIsAProgramBody)
{
    for (bool bank : {false, true})
    {
        PresetPlug plug;
        std::vector<double> values = kDefaults;
        values[kBaseFreq] = 528;
        values[kMix] = 75;
        EXPECT_EQ(plug.SetChunk(BodyOf(values), bank), 1);
        EXPECT_EQ(plug.Values(), values);
        // The current program takes the values too.
        plug.SetProgram(3);
        plug.SetProgram(0);
        EXPECT_EQ(plug.Values(), values);
    }
}

TEST(ProgramChunk, ValuesAreLimitedToTheirRanges)
{
    PresetPlug plug;
    std::vector<double> values = kDefaults;
    values[kBaseFreq] = 1e9;
    values[kBinaural] = -5;
    values[kWave] = std::numeric_limits<double>::quiet_NaN();
    values[kFade] = -std::numeric_limits<double>::infinity();
    values[kMix] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(plug.SetChunk(WithHeader(BodyOf(values)), false), 1);
    const std::vector<double> live = plug.Values();
    EXPECT_EQ(live[kBaseFreq], 20000);
    EXPECT_EQ(live[kBinaural], 0);
    EXPECT_EQ(live[kWave], 0);
    EXPECT_EQ(live[kFade], 1);
    EXPECT_EQ(live[kMix], 100);
}

TEST(ProgramChunk, BadRequestsAnswerZeroAndChangeNothing)
{
    PresetPlug plug;
    plug.SetReal(kBaseFreq, 777);
    const std::vector<uint8_t> before = plug.GetChunk(true);
    const std::vector<uint8_t> chunk = WithHeader(BodyOf(kDefaults));
    uint8_t* data = const_cast<uint8_t*>(chunk.data());
    for (bool bank : {false, true})
    {
        const int32_t index = bank ? 0 : 1;
        EXPECT_EQ(plug.Dispatch(vst::effSetChunk, index, -1, data), 0);
        EXPECT_EQ(plug.Dispatch(vst::effSetChunk, index, std::numeric_limits<intptr_t>::min(), data), 0);
        EXPECT_EQ(plug.Dispatch(vst::effSetChunk, index, intptr_t{1} << 40, data), 0);
        EXPECT_EQ(plug.Dispatch(vst::effSetChunk, index, std::numeric_limits<intptr_t>::max(), data), 0);
        EXPECT_EQ(plug.Dispatch(vst::effSetChunk, index, 192, nullptr), 0);
        EXPECT_EQ(plug.Dispatch(vst::effGetChunk, index, 0, nullptr), 0);
    }
    EXPECT_EQ(plug.GetChunk(true), before);
}

TEST(ProgramChunk, HostMayHandBackTheBlockItWasGiven)
{
    PresetPlug plug;
    plug.SetReal(kBaseFreq, 123.4);
    for (bool bank : {false, true})
    {
        void* data = nullptr;
        const intptr_t size = plug.Dispatch(vst::effGetChunk, bank ? 0 : 1, 0, &data);
        ASSERT_GT(size, 0);
        EXPECT_EQ(plug.Dispatch(vst::effSetChunk, bank ? 0 : 1, size, data), 1);
        EXPECT_EQ(plug.Values()[kBaseFreq], 123.4);
    }
}
} // namespace tpm
