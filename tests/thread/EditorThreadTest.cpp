// The editor's traffic across threads, as a DAW makes it: automation on one thread, program changes on
// another, audio on a third, while the user-interface thread redraws and plays the user. Run under
// ThreadSanitizer by the test command; TPM_THREAD_SECONDS sets the length.
#include "core/PluginLock.h"
#include "core/ProcessorOwnership.h"
#include "editor/EditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "support/LinkedPlugin.h"
#include "support/ParamIndex.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace tpm
{
TEST(Threads, EditorDrawsAndTakesInputWhileOtherThreadsChangeParameters)
{
    HostSettings settings;
    settings.blockSize = 256;
    settings.playing = true;
    settings.recordCalls = false;
    std::string error;
    auto host = Vst2HostedPlugin::Create(&MakeLinkedPlugin, error, settings);
    ASSERT_TRUE(host) << error;
    host->Start();
    AEffect* e = host->Effect();
    auto* editor = static_cast<tpm::EditorWindow*>(Vst2Effect::FromEffect(e)->Editor());
    editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
    auto open = [&] {
        EXPECT_EQ(host->Dispatch(vst::effEditOpen), 1);
        return static_cast<tpm::HeadlessWindowLayer*>(editor->WindowLayer());
    };
    tpm::HeadlessWindowLayer* window = open();
    const tpm::MouseMod left{true, false, false, false, false}, right{false, true, false, false, false};
    auto click = [&window](int x, int y, const tpm::MouseMod& mod) {
        window->Press(x, y, mod);
        window->Release(x, y, mod);
    };
    const char* env = std::getenv("TPM_THREAD_SECONDS");
    const double seconds = env ? std::atof(env) : 1.0;
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0}, programs{0}, blocks{0};

    std::thread automation([&] {
        for (unsigned n = 0; !stop; ++n, ++changes)
        {
            // Every other change moves "Binaural" across a band boundary, so the band text keeps changing.
            if (n % 2)
                e->setParameter(e, kBinaural, (n / 2) % 2 ? 0.01f : 0.05f);
            else
                e->setParameter(e, static_cast<int>(n / 2 % 23), static_cast<float>((n * 37) % 101) / 100.0f);
        }
    });
    std::thread programChanges([&] {
        for (unsigned n = 0; !stop; ++n, ++programs)
            e->dispatcher(e, vst::effSetProgram, 0, static_cast<intptr_t>(n % 141), nullptr, 0.0f);
    });
    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        float* io[] = {l.data(), r.data()};
        for (; !stop; ++blocks)
            e->processReplacing(e, io, io, 256);
    });

    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (int n = 0; std::chrono::steady_clock::now() < end; ++n)
    {
        window->Press(48, 120, left); // a drag on Base Freq
        window->Move(48, 120 + (n % 2 ? 7 : -7), left);
        window->Release(48, 120 + (n % 2 ? 7 : -7), left);
        window->Wheel(501, 120, {}, 120);
        click(100, 220, left); // the LFO1 target list opens (or closes)
        click(100, 250, left);
        click(275, 330, left); // hold: restart the LFOs
        click(200, 200, left); // LFO1 sync
        if (n % 5 == 0)
        {
            click(48, 120, right);
            window->TypeIntoEntry("440");
            window->PressEnter();
        }
        window->SetCursor(426, 120);
        editor->WheelAtCursor(-1.0f);
        for (int tick = 0; tick < 4; ++tick)
            window->Tick();
        if (n % 50 == 0)
        {
            host->Dispatch(vst::effEditClose);
            window = open();
        }
    }
    stop = true;
    automation.join();
    programChanges.join();
    audio.join();
    EXPECT_GT(changes.load(), 0);
    EXPECT_GT(programs.load(), 0);
    EXPECT_GT(blocks.load(), 0);
    EXPECT_EQ(PluginLock::AudioBlockAcquisitions(), 0) << "an audio block took the plug-in lock";
}

TEST(Threads, AnAudioBlockTakingTheLockIsCounted)
{
    // The check above must not pass for want of looking.
    ProcessorOwnership processor;
    PluginLock lock;
    const int64_t before = PluginLock::AudioBlockAcquisitions();
    ASSERT_TRUE(processor.TryTakeForAudio());
    lock.Lock();
    lock.Unlock();
    processor.Release();
    lock.Lock();
    lock.Unlock();
    EXPECT_EQ(PluginLock::AudioBlockAcquisitions(), before + 1);
}
} // namespace tpm
