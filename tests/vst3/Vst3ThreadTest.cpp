// The audio thread processing while the user-interface thread sets values, picks programs, reads
// texts and saves state, as a host with its editor open does: nothing waits on the other, the last
// value set stays, and under ThreadSanitizer nothing races.
#include "vst3/Vst3TestSupport.h"

#include <atomic>
#include <thread>

namespace tpm
{
TEST(Vst3Threads, UserInterfaceWorkWhileTheAudioThreadProcesses)
{
    auto plugin = LoadVst3(true);
    ASSERT_TRUE(plugin);
    plugin->Configure(48000.0, kTestBlock);
    ASSERT_TRUE(plugin->Resume());
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        HostedInstance::MarkRealTimeThread();
        std::vector<double> l(kTestBlock), r(kTestBlock), outL(kTestBlock), outR(kTestBlock);
        double* ins[2] = {l.data(), r.data()};
        double* outs[2] = {outL.data(), outR.data()};
        while (!stop.load())
        {
            plugin->Process(ins, outs, kTestBlock);
            plugin->Advance(kTestBlock);
            ++blocks;
        }
    });
    std::vector<uint8_t> state;
    for (int round = 0; round < 200; ++round)
    {
        plugin->SetParamNormalized(0, (round % 50) / 50.0);
        plugin->SetParamText(1, std::to_string(round % 30));
        if (round % 40 == 0)
            plugin->SelectProgram(round / 40);
        EXPECT_FALSE(plugin->ParamDisplay(0).empty());
        if (round % 20 == 0)
        {
            EXPECT_TRUE(plugin->SaveState(state));
        }
        plugin->EditorIdle();
        while (blocks.load() < round) // the two threads keep pace, so their calls overlap
            std::this_thread::yield();
    }
    plugin->SetParamText(1, "12.5");
    // A few more blocks take the last value in; the processor never sent it back changed.
    const int seen = blocks.load();
    while (blocks.load() < seen + 4)
        std::this_thread::yield();
    stop = true;
    audio.join();
    EXPECT_EQ(plugin->ParamDisplay(1), "12.50");
    EXPECT_TRUE(plugin->SaveState(state));
    EXPECT_EQ(plugin->Services().EditsOffUiThread(), 0);
    plugin->Suspend();
}
} // namespace tpm
