// A host's automation with the editor open, then its state saved and restored, in every format as a
// validator drives it: a thousand values set through the format's own calls, the editor ticked between
// them, and the instance must hold and report the last value set, after the restore as before it;
// once with the instance resumed but never processed, once with an audio thread processing beside it.
// Needs an X server: the editors open in real windows.
#include "tools/hostkit/HostedInstance.h"
#include "tools/vsthost/HostWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tpm
{
namespace
{
constexpr int kBlock = 256;
constexpr int kChanges = 1000;

class AudioBeside
{
  public:
    explicit AudioBeside(HostedInstance& p) : plugin(p), thread([this] { Run(); }) {}
    ~AudioBeside()
    {
        stop = true;
        thread.join();
    }
    // Returns once the audio thread has processed n more blocks: changes made before have reached it.
    void AwaitBlocks(int n)
    {
        const int until = blocks.load() + n;
        while (blocks.load() < until)
            std::this_thread::yield();
    }

  private:
    void Run()
    {
        HostedInstance::MarkRealTimeThread();
        std::vector<float> l(kBlock), r(kBlock), outL(kBlock), outR(kBlock);
        float* ins[2] = {l.data(), r.data()};
        float* outs[2] = {outL.data(), outR.data()};
        while (!stop.load())
        {
            plugin.Process(ins, outs, kBlock);
            plugin.Advance(kBlock);
            ++blocks;
        }
    }
    HostedInstance& plugin;
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::thread thread;
};

void AutomateSaveRestore(const char* path, bool withAudio)
{
    SCOPED_TRACE(std::string(path) + (withAudio ? ", audio running" : ", no audio"));
    HostSettings settings;
    settings.sampleRate = 48000.0;
    settings.blockSize = kBlock;
    settings.playing = true;
    std::string error;
    auto plugin = OpenHostedInstance(path, error, settings);
    ASSERT_TRUE(plugin) << error;
    plugin->Open();
    plugin->Configure(48000.0, kBlock);
    ASSERT_TRUE(plugin->Resume());
    int width = 0;
    int height = 0;
    ASSERT_TRUE(plugin->EditorSize(width, height));
    auto window = HostWindow::Create(width, height, "automation", error);
    ASSERT_TRUE(window) << error;
    ASSERT_TRUE(plugin->OpenEditor(window->ParentHandle()));
    std::unique_ptr<AudioBeside> audio = withAudio ? std::make_unique<AudioBeside>(*plugin) : nullptr;

    // Base Freq (parameter 0) from end to end and back, the editor ticked after each value.
    double last = 0.0;
    for (int n = 0; n < kChanges; ++n)
    {
        last = 0.05 + 0.9 * static_cast<double>((n * 37) % kChanges) / kChanges;
        plugin->SetParamNormalized(0, last);
        window->PumpEvents(1);
        plugin->EditorIdle();
    }
    const std::string shown = plugin->ParamDisplay(0);
    std::vector<uint8_t> state;
    ASSERT_TRUE(plugin->SaveState(state));
    plugin->SetParamNormalized(0, 0.99);
    plugin->SetParamNormalized(1, 0.5);
    // Blocks take these in before the state comes, as when a user restores it later.
    if (audio)
        audio->AwaitBlocks(2);
    window->PumpEvents(1);
    plugin->EditorIdle();
    ASSERT_TRUE(plugin->LoadState(state));
    EXPECT_EQ(plugin->ParamDisplay(0), shown);
    // Nothing older comes back later: not from the editor's ticks nor from the blocks that follow.
    for (int n = 0; n < 30; ++n)
    {
        if (audio)
            audio->AwaitBlocks(2);
        window->PumpEvents(1);
        plugin->EditorIdle();
    }
    audio.reset();
    EXPECT_EQ(plugin->ParamDisplay(0), shown);
    EXPECT_NEAR(plugin->ParamNormalized(0), last, 1e-3);
    plugin->CloseEditor();
    plugin->Suspend();
    plugin->Close();
}
} // namespace

TEST(EditorAutomation, TheLastValueSetIsTheOneRestored)
{
    for (const char* path :
         {TPM_MODULE_PATH, TPM_CLAP_MODULE_PATH, TPM_VST3_BUNDLE_PATH, TPM_LV2_BUNDLE_PATH})
        for (const bool withAudio : {false, true})
            AutomateSaveRestore(path, withAudio);
}
} // namespace tpm
