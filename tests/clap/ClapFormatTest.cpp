// The CLAP module against the VST2 module and against hosts that break the rules.
#include "clap/ClapTestHost.h"
#include "support/Vst2Reference.h"

#include <cmath>
#include <cstring>
#include <thread>

namespace tpm
{
namespace
{
constexpr int kBlock = 256;
constexpr int kBlocks = 40;
constexpr clap_id kBinaural = 1;

clap_event_transport_t Transport(bool playing)
{
    clap_event_transport_t t{};
    t.header = {sizeof t, 0, kClapCoreEventSpaceId, kClapEventTransport, 0};
    t.flags =
        kClapTransportHasTempo | kClapTransportHasTimeSignature | (playing ? kClapTransportIsPlaying : 0u);
    t.tempo = 120.0;
    t.tsig_num = 4;
    t.tsig_denom = 4;
    return t;
}

// A setting made before processing: the VST2 module gets the normalised value, the CLAP module
// the same value in the parameter's units.
struct Setting
{
    int param;
    float normalized;
    double value;
};

// Renders the same input through both modules; a Binaural step lands at stepFrame of each block
// when stepHz >= 0. Answers the largest difference.
template <typename Sample>
double LargestDifference(bool playing, int program, double stepHz, int stepFrame,
                         const std::vector<Setting>& settings = {})
{
    ClapTestHost clap;
    const clap_plugin_t* plugin = clap.Create();
    EXPECT_TRUE(plugin);
    if (!plugin)
        return 1.0;
    if (program >= 0)
    {
        const auto* presets = clap.Ext<clap_plugin_preset_load_t>(kClapExtPresetLoad);
        EXPECT_TRUE(presets->from_location(plugin, kClapPresetDiscoveryLocationPlugin, nullptr,
                                           std::to_string(program).c_str()));
    }
    std::vector<clap_event_param_value_t> before;
    for (const Setting& setting : settings)
        before.push_back(ClapTestHost::Value(0, static_cast<clap_id>(setting.param), setting.value));
    clap.Flush(before);
    EXPECT_TRUE(clap.Activate(48000.0, kBlock));
    Vst2Reference reference(playing, program, kBlock);
    for (const Setting& setting : settings)
        reference.SetNormalized(setting.param, setting.normalized);
    const clap_event_transport_t transport = Transport(playing);
    double largest = 0.0;
    std::vector<Sample> a(kBlock), b(kBlock), c(kBlock), d(kBlock);
    for (int block = 0; block < kBlocks; ++block)
    {
        FillTestInput(a, b, block);
        c = a;
        d = b;
        std::vector<clap_event_param_value_t> events;
        // A ramp, one step a block, on values the VST2 module's single-precision scale holds exactly.
        const auto normalized = static_cast<float>((stepHz + block * 0.37) / 512.0);
        if (stepHz >= 0.0)
        {
            events.push_back(ClapTestHost::Value(static_cast<uint32_t>(stepFrame), kBinaural,
                                                 static_cast<double>(normalized) * 512.0));
            reference.Process(c, d, 0, stepFrame);
            reference.SetNormalized(static_cast<int>(kBinaural), normalized);
            reference.Process(c, d, stepFrame, kBlock - stepFrame);
        }
        else
            reference.Process(c, d, 0, kBlock);
        EXPECT_EQ(clap.Process(a, b, events, &transport), kClapProcessContinue);
        for (int i = 0; i < kBlock; ++i)
        {
            const auto at = static_cast<std::size_t>(i);
            largest = std::max({largest, std::fabs(static_cast<double>(a[at]) - c[at]),
                                std::fabs(static_cast<double>(b[at]) - d[at])});
        }
    }
    return largest;
}
} // namespace

TEST(ClapModule, SameSamplesAsVst2)
{
    EXPECT_EQ(LargestDifference<double>(false, -1, -1.0, 0), 0.0) << "default program, stopped";
    EXPECT_EQ(LargestDifference<double>(true, -1, -1.0, 0), 0.0) << "default program, playing";
    EXPECT_EQ(LargestDifference<double>(true, 40, -1.0, 0), 0.0) << "factory program by preset load";
    EXPECT_LE(LargestDifference<float>(true, 40, -1.0, 0), 1e-7) << "32-bit";
}

TEST(ClapModule, SyncedLfoFollowsTheTransportAsInVst2)
{
    // LFO 1 (synced by default) drives Binaural; "Play Anyway" lets it sound while stopped.
    const std::vector<Setting> settings = {{8, 0.5f, 2.0}, {5, 1.0f, 1.0}};
    EXPECT_EQ(LargestDifference<double>(true, -1, -1.0, 0, settings), 0.0) << "playing";
    EXPECT_EQ(LargestDifference<double>(false, -1, -1.0, 0, settings), 0.0) << "stopped";
}

TEST(ClapModule, BinauralRampAsValueEventsLandsOnItsFrames)
{
    EXPECT_EQ(LargestDifference<double>(true, -1, 4.0, 100), 0.0);
    EXPECT_LE(LargestDifference<float>(true, -1, 4.0, 100), 1e-7);
}
} // namespace tpm
