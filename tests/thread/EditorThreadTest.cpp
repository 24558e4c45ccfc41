// The editor's traffic across threads, as a DAW makes it: automation on one thread, program changes on
// another, audio on a third, while the user-interface thread redraws and plays the user. Run under
// ThreadSanitizer by the test command; TPM_THREAD_SECONDS sets the length.
#include "core/PluginLock.h"
#include "core/ProcessorOwnership.h"
#include "editor/EditorRig.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

TEST(Threads, EditorDrawsAndTakesInputWhileOtherThreadsChangeParameters)
{
    EditorRig rig;
    AEffect* e = rig.host->Effect();
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
        while (!stop)
        {
            rig.Process();
            ++blocks;
        }
    });

    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (int n = 0; std::chrono::steady_clock::now() < end; ++n)
    {
        rig.Drag(48, 120, 0, n % 2 ? 7 : -7);
        rig.window->Wheel(501, 120, EditorRig::kNone, 120);
        rig.Click(100, 220); // the LFO1 target list opens (or closes)
        rig.Click(100, 250);
        rig.window->Press(275, 330, EditorRig::kLeft); // hold: restart the LFOs
        rig.window->Release(275, 330, EditorRig::kLeft);
        rig.Click(200, 200); // LFO1 sync
        if (n % 5 == 0)
        {
            rig.Click(48, 120, EditorRig::kRight);
            rig.window->TypeIntoEntry("440");
            rig.window->PressEnter();
        }
        rig.window->SetCursor(426, 120);
        rig.editor->WheelAtCursor(-1.0f);
        rig.Tick(4);
        if (n % 50 == 0)
        {
            rig.host->ClearCalls();
            rig.host->Dispatch(vst::effEditClose);
            rig.Open();
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
