// Hosts that call in the wrong order or on the wrong thread get false or nothing, never a crash,
// and damaged state changes nothing.
#include "clap/ClapTestHost.h"
#include "plugin/StateContainer.h"
#include "support/PeakMemory.h"
#include "support/TestModule.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

namespace tpm
{
namespace
{
#if defined(_WIN32)
const char* const kOwnApi = kClapWindowApiWin32;
const char* const kForeignApi = kClapWindowApiX11;
#else
const char* const kOwnApi = kClapWindowApiX11;
const char* const kForeignApi = kClapWindowApiWin32;
#endif

struct Bytes
{
    std::vector<uint8_t> data;
    std::size_t readAt = 0;
    std::size_t readLimit = SIZE_MAX; // a stream that fails after this many bytes
    int64_t overstated = 0;           // what a broken stream adds to the count it answers

    clap_ostream_t Writer()
    {
        return {this, [](const clap_ostream_t* s, const void* buffer, uint64_t size) -> int64_t {
                    auto& self = *static_cast<Bytes*>(s->ctx);
                    const auto* bytes = static_cast<const uint8_t*>(buffer);
                    // A host that takes at most 100 bytes a call.
                    const auto n = static_cast<std::size_t>(std::min<uint64_t>(size, 100));
                    self.data.insert(self.data.end(), bytes, bytes + n);
                    return static_cast<int64_t>(n) + self.overstated;
                }};
    }
    clap_istream_t Reader()
    {
        return {this, [](const clap_istream_t* s, void* buffer, uint64_t size) -> int64_t {
                    auto& self = *static_cast<Bytes*>(s->ctx);
                    if (self.readAt >= self.readLimit)
                        return -1;
                    const auto n =
                        static_cast<std::size_t>(std::min<uint64_t>(size, self.data.size() - self.readAt));
                    std::memcpy(buffer, self.data.data() + self.readAt, n);
                    self.readAt += n;
                    // Overstating, it claims more than was asked for while it has data.
                    return n > 0 && self.overstated > 0 ? static_cast<int64_t>(size) + self.overstated
                                                        : static_cast<int64_t>(n);
                }};
    }
};

Bytes Save(ClapTestHost& host, const clap_plugin_t* plugin)
{
    Bytes state;
    const clap_ostream_t out = state.Writer();
    EXPECT_TRUE(host.Ext<clap_plugin_state_t>(kClapExtState)->save(plugin, &out));
    return state;
}

bool Load(ClapTestHost& host, const clap_plugin_t* plugin, Bytes state)
{
    const clap_istream_t in = state.Reader();
    return host.Ext<clap_plugin_state_t>(kClapExtState)->load(plugin, &in);
}
} // namespace

TEST(ClapHostileHost, CallsOutOfOrderAnswerFalseAndChangeNothing)
{
    ClapTestHost host;
    const clap_plugin_t* plugin = host.Create();
    ASSERT_TRUE(plugin);
    std::vector<float> left(64), right(64);
    EXPECT_EQ(host.Process(left, right), kClapProcessError) << "process before activate";
    EXPECT_FALSE(plugin->start_processing(plugin)) << "start before activate";
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    plugin->reset(plugin);

    const auto* gui = host.Ext<clap_plugin_gui_t>(kClapExtGui);
    uint32_t width = 0, height = 0;
    const clap_window_t window{kOwnApi, {}};
    EXPECT_FALSE(gui->get_size(plugin, &width, &height)) << "size without create";
    EXPECT_FALSE(gui->set_parent(plugin, &window)) << "parent without create";
    EXPECT_FALSE(gui->create(plugin, kForeignApi, false)) << "another platform's windows";
    EXPECT_FALSE(gui->create(plugin, kOwnApi, true)) << "floating";
    gui->destroy(plugin);

    host.answerMainThread = false;
    EXPECT_FALSE(plugin->activate(plugin, 48000.0, 1, 512)) << "activate off the main thread";
    EXPECT_FALSE(gui->create(plugin, kOwnApi, false)) << "gui off the main thread";
    Bytes state;
    const clap_ostream_t out = state.Writer();
    EXPECT_FALSE(host.Ext<clap_plugin_state_t>(kClapExtState)->save(plugin, &out))
        << "state off the main thread";
    host.answerMainThread = true;

    EXPECT_FALSE(plugin->activate(plugin, 0.0, 1, 512)) << "no sample rate";
    EXPECT_FALSE(plugin->activate(plugin, 48000.0, 1, 0)) << "no block";
    ASSERT_TRUE(host.Activate());
    EXPECT_FALSE(plugin->activate(plugin, 48000.0, 1, 512)) << "activate twice";
    EXPECT_EQ(host.Process(left, right), kClapProcessContinue);
    // Destroyed while processing, with its gui created: the host's last word, and no leak under ASan.
    ASSERT_TRUE(gui->create(plugin, kOwnApi, false));
    host.DestroyPlugin();
}

// Offline renderers announce huge blocks: activation takes any maximum and keeps its buffers small.
TEST(ClapHostileHost, AHugeMaximumBlockActivatesWithoutTakingTheMemory)
{
    ClapTestHost host;
    ASSERT_TRUE(host.Create());
    const long peakBefore = PeakResidentKiB();
    ASSERT_TRUE(host.Activate(48000.0, 0x7fffffff));
    std::vector<float> left(512), right(512);
    // "Play Anyway" and "Mix" full on: the tones sound.
    EXPECT_EQ(host.Process(left, right, {ClapTestHost::Value(0, 5, 1.0), ClapTestHost::Value(0, 7, 100.0)}),
              kClapProcessContinue);
    EXPECT_TRUE(std::any_of(left.begin(), left.end(), [](float s) { return s != 0.0f; }));
    EXPECT_LT(PeakResidentKiB() - peakBefore, kSmallMemoryKiB);
}

TEST(ClapHostileHost, DamagedStateChangesNothing)
{
    ClapTestHost host;
    const clap_plugin_t* plugin = host.Create();
    ASSERT_TRUE(plugin);
    const Bytes good = Save(host, plugin);
    constexpr std::size_t header = StateContainer::kHeaderBytes;
    ASSERT_GT(good.data.size(), header);
    EXPECT_EQ(std::memcmp(good.data.data(), "tPTM", 4), 0);

    host.Flush({ClapTestHost::Value(0, 0, 440.0)});
    const Bytes before = Save(host, plugin);
    Bytes cut = good;
    cut.data.resize(cut.data.size() / 2);
    Bytes otherCount = good;
    otherCount.data[8] = 22;
    Bytes later = good;
    later.data[4] = 9;
    Bytes failing = good;
    failing.readLimit = 50;
    Bytes noSuchProgram = good;
    noSuchProgram.data[12] = 200;
    Bytes bankHeader = good; // the bank inside, its own header damaged
    bankHeader.data[header] ^= 0xFF;
    Bytes bareDamaged{std::vector<uint8_t>(good.data.begin() + header, good.data.end())};
    bareDamaged.data[0] ^= 0xFF;
    Bytes overstating = good;
    overstating.overstated = 100;
    for (const Bytes* damaged :
         {&cut, &otherCount, &later, &failing, &noSuchProgram, &bankHeader, &bareDamaged, &overstating})
        EXPECT_FALSE(Load(host, plugin, *damaged));
    EXPECT_EQ(Save(host, plugin).data, before.data);
    // A stream that claims to have taken more than it was given has not saved the state.
    Bytes overstatingOut;
    overstatingOut.overstated = 100;
    const clap_ostream_t out = overstatingOut.Writer();
    EXPECT_FALSE(host.Ext<clap_plugin_state_t>(kClapExtState)->save(plugin, &out));
    double value = 0.0;
    host.Ext<clap_plugin_params_t>(kClapExtParams)->get_value(plugin, 0, &value);
    EXPECT_EQ(value, 440.0);
}

TEST(ClapState, TheBankMovesBetweenClapAndVst2ByteForByte)
{
    ClapTestHost host;
    const clap_plugin_t* plugin = host.Create();
    ASSERT_TRUE(plugin);
    host.Flush({ClapTestHost::Value(0, 1, 7.5), ClapTestHost::Value(0, 2, 3.0)});
    const Bytes saved = Save(host, plugin);
    const std::vector<uint8_t> bank(saved.data.begin() + StateContainer::kHeaderBytes, saved.data.end());

    auto vst = LoadTestModule();
    vst->Start();
    ASSERT_EQ(vst->Dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(bank.size()),
                            const_cast<uint8_t*>(bank.data())),
              1);
    void* chunk = nullptr;
    const auto size = vst->Dispatch(vst::effGetChunk, 0, 0, &chunk);
    ASSERT_GT(size, 0);
    const std::vector<uint8_t> back(static_cast<uint8_t*>(chunk), static_cast<uint8_t*>(chunk) + size);
    EXPECT_EQ(back, bank);

    // A bare VST2 bank chunk loads into the CLAP build too.
    ClapTestHost other;
    const clap_plugin_t* second = other.Create();
    ASSERT_TRUE(second);
    EXPECT_TRUE(Load(other, second, Bytes{back}));
    EXPECT_EQ(Save(other, second).data, saved.data);
}

TEST(ClapParams, ListsUnitsAndTextsThroughTheSharedFormatting)
{
    ClapTestHost host;
    const clap_plugin_t* plugin = host.Create();
    ASSERT_TRUE(plugin);
    const auto* params = host.Ext<clap_plugin_params_t>(kClapExtParams);
    ASSERT_EQ(params->count(plugin), 23u);
    clap_param_info_t wave{}, restart{};
    ASSERT_TRUE(params->get_info(plugin, 2, &wave));
    EXPECT_STREQ(wave.name, "Wave");
    EXPECT_EQ(wave.flags & (kClapParamIsEnum | kClapParamIsStepped | kClapParamIsAutomatable),
              kClapParamIsEnum | kClapParamIsStepped | kClapParamIsAutomatable);
    EXPECT_EQ(wave.max_value, 7.0);
    ASSERT_TRUE(params->get_info(plugin, 22, &restart));
    EXPECT_TRUE(restart.flags & kClapParamIsHidden);
    EXPECT_FALSE(params->get_info(plugin, 23, &restart));
    // Hosts list every parameter by name: each has one of its own.
    std::set<std::string> names;
    for (uint32_t i = 0; i < params->count(plugin); ++i)
    {
        clap_param_info_t info{};
        ASSERT_TRUE(params->get_info(plugin, i, &info));
        EXPECT_STRNE(info.name, "") << "parameter " << i;
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
    }

    char text[64];
    ASSERT_TRUE(params->value_to_text(plugin, 2, 4.0, text, sizeof text));
    EXPECT_STREQ(text, "Golden Sine");
    ASSERT_TRUE(params->value_to_text(plugin, 0, 136.1, text, sizeof text));
    EXPECT_STREQ(text, "136.1 Hz");
    double value = 0.0;
    EXPECT_TRUE(params->text_to_value(plugin, 0, "136,1 Hz", &value));
    EXPECT_EQ(value, 136.1);
    EXPECT_TRUE(params->text_to_value(plugin, 2, "Golden Sine", &value));
    EXPECT_EQ(value, 4.0);
    value = -1.0;
    EXPECT_FALSE(params->text_to_value(plugin, 7, "abc", &value));
    EXPECT_EQ(value, -1.0);
}

TEST(ClapPresets, DiscoveryListsTheFactoryProgramsThatPresetLoadLoads)
{
    ClapTestHost host;
    const auto* factory = host.PresetFactory();
    ASSERT_TRUE(factory);
    ASSERT_EQ(factory->count(factory), 1u);
    struct Found
    {
        int locations = 0;
        std::vector<std::pair<std::string, std::string>> presets;
    } found;
    clap_preset_discovery_indexer_t indexer{
        kClapVersion,
        "test",
        "",
        "",
        "",
        &found,
        nullptr,
        [](const clap_preset_discovery_indexer_t* i, const clap_preset_discovery_location_t* location) {
            ++static_cast<Found*>(i->indexer_data)->locations;
            return location->kind == kClapPresetDiscoveryLocationPlugin;
        },
        nullptr,
        nullptr};
    const auto* provider = factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
    ASSERT_TRUE(provider);
    ASSERT_TRUE(provider->init(provider));
    EXPECT_EQ(found.locations, 1);
    clap_preset_discovery_metadata_receiver_t receiver{};
    receiver.receiver_data = &found;
    receiver.begin_preset = [](const clap_preset_discovery_metadata_receiver_t* r, const char* name,
                               const char* key) {
        static_cast<Found*>(r->receiver_data)->presets.emplace_back(name, key);
        return true;
    };
    EXPECT_TRUE(provider->get_metadata(provider, kClapPresetDiscoveryLocationPlugin, nullptr, &receiver));
    provider->destroy(provider);
    ASSERT_EQ(found.presets.size(), 141u);

    const clap_plugin_t* plugin = host.Create();
    ASSERT_TRUE(plugin);
    const auto* load = host.Ext<clap_plugin_preset_load_t>(kClapExtPresetLoad);
    const auto& [name, key] = found.presets[5];
    EXPECT_TRUE(load->from_location(plugin, kClapPresetDiscoveryLocationPlugin, nullptr, key.c_str()));
    // Only the keys discovery lists, as it lists them: no empty slot, no other spelling of a number.
    for (const char* unlisted : {"150", "141", "149", "-1", " 3", "+5", "-0", "05", "3 ", ""})
        EXPECT_FALSE(load->from_location(plugin, kClapPresetDiscoveryLocationPlugin, nullptr, unlisted))
            << "'" << unlisted << "'";
    EXPECT_FALSE(load->from_location(plugin, kClapPresetDiscoveryLocationFile, "/tmp/x", key.c_str()));
}
} // namespace tpm
