// Three host threads at once, as a DAW drives a plug-in: audio, automation, and the UI thread's
// dispatcher calls. Run under ThreadSanitizer by the test command; TPM_THREAD_SECONDS sets the length.
#include "support/TestModule.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

TEST(Threads, ProcessingAutomationAndDispatcherTogether)
{
    HostSettings settings;
    settings.playing = true;
    settings.blockSize = 256;
    auto plugin = LoadTestModule(settings);
    ASSERT_TRUE(plugin);
    plugin->Start();
    AEffect* e = plugin->Effect();

    const char* env = std::getenv("TPM_THREAD_SECONDS");
    const double seconds = env ? std::atof(env) : 1.0;
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0}, changes{0}, requests{0};

    std::thread audio([&] {
        std::vector<float> l(256, 0.1f), r(256, -0.1f), ol(256), orr(256);
        std::vector<double> dl(256, 0.1), dr(256, -0.1), dol(256), dor(256);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        double* din[] = {dl.data(), dr.data()};
        double* dout[] = {dol.data(), dor.data()};
        while (!stop)
        {
            e->processReplacing(e, in, out, 256);
            e->processDoubleReplacing(e, din, dout, 256);
            e->process(e, in, out, 256);
            blocks += 3;
        }
    });
    std::thread automation([&] {
        unsigned n = 0;
        while (!stop)
        {
            const int index = static_cast<int>(n % 23);
            e->setParameter(e, index, static_cast<float>((n * 37) % 101) / 100.0f);
            e->getParameter(e, index);
            ++n;
            ++changes;
        }
    });
    std::thread ui([&] {
        unsigned n = 0;
        char text[256];
        while (!stop)
        {
            const int index = static_cast<int>(n % 23);
            e->dispatcher(e, vst::effGetParamDisplay, index, 0, text, 0.0f);
            e->dispatcher(e, vst::effGetProgramNameIndexed, static_cast<int>(n % 150), 0, text, 0.0f);
            if (n % 50 == 0)
                e->dispatcher(e, vst::effSetProgram, 0, static_cast<intptr_t>(n % 141), nullptr, 0.0f);
            if (n % 70 == 0)
            {
                void* chunk = nullptr;
                e->dispatcher(e, vst::effGetChunk, 1, 0, &chunk, 0.0f);
            }
            if (n % 200 == 0)
                e->dispatcher(e, vst::effMainsChanged, 0, n % 400 == 0 ? 0 : 1, nullptr, 0.0f);
            ++n;
            ++requests;
        }
    });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop = true;
    audio.join();
    automation.join();
    ui.join();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_GT(changes.load(), 0);
    EXPECT_GT(requests.load(), 0);
}
