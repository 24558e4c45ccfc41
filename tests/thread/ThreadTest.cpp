// Three host threads at once, as a DAW drives a plug-in: audio, automation, and the UI thread's
// dispatcher calls. Run under ThreadSanitizer by the test command; TPM_THREAD_SECONDS sets the length.
// Beyond the sanitizer's verdict, it checks what a race or a lost update would break: every output
// sample stays finite, every state chunk taken while the others run reads back whole, and the
// automation thread's last values are the ones that stay.
#include "support/TestModule.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

namespace tpm
{
namespace
{
bool AllFinite(const std::vector<float>& v)
{
    for (const float x : v)
        if (!std::isfinite(x))
            return false;
    return true;
}

bool AllFinite(const std::vector<double>& v)
{
    for (const double x : v)
        if (!std::isfinite(x))
            return false;
    return true;
}
} // namespace

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
    std::atomic<bool> stopUi{false}, stopAutomation{false}, stopAudio{false};
    std::atomic<long> blocks{0}, badBlocks{0}, chunks{0}, badChunks{0};

    std::thread audio([&] {
        std::vector<float> l(256, 0.1f), r(256, -0.1f), ol(256), orr(256);
        std::vector<double> dl(256, 0.1), dr(256, -0.1), dol(256), dor(256);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        double* din[] = {dl.data(), dr.data()};
        double* dout[] = {dol.data(), dor.data()};
        while (!stopAudio)
        {
            e->processReplacing(e, in, out, 256);
            const bool replacedFinite = AllFinite(ol) && AllFinite(orr);
            e->processDoubleReplacing(e, din, dout, 256);
            std::fill(ol.begin(), ol.end(), 0.0f);
            e->process(e, in, out, 256);
            if (!replacedFinite || !AllFinite(dol) || !AllFinite(dor) || !AllFinite(ol))
                ++badBlocks;
            blocks += 3;
        }
    });
    std::thread automation([&] {
        unsigned n = 0;
        while (!stopAutomation)
        {
            const int index = static_cast<int>(n % 23);
            e->setParameter(e, index, static_cast<float>((n * 37) % 101) / 100.0f);
            e->getParameter(e, index);
            ++n;
        }
        // The last word, while audio still runs: each parameter at one end of its range.
        for (int index = 0; index < 23; ++index)
            e->setParameter(e, index, index % 2 == 0 ? 1.0f : 0.0f);
    });
    std::thread ui([&] {
        unsigned n = 0;
        char text[256];
        while (!stopUi)
        {
            const int index = static_cast<int>(n % 23);
            e->dispatcher(e, vst::effGetParamDisplay, index, 0, text, 0.0f);
            e->dispatcher(e, vst::effGetProgramNameIndexed, static_cast<int>(n % 150), 0, text, 0.0f);
            if (n % 50 == 0)
                e->dispatcher(e, vst::effSetProgram, 0, static_cast<intptr_t>(n % 141), nullptr, 0.0f);
            if (n % 70 == 0)
            {
                // A chunk taken while the others run must read back whole.
                const int32_t kind = n % 140 == 0 ? 0 : 1; // bank or program
                void* chunk = nullptr;
                const intptr_t size = e->dispatcher(e, vst::effGetChunk, kind, 0, &chunk, 0.0f);
                const std::vector<uint8_t> copy(static_cast<uint8_t*>(chunk),
                                                static_cast<uint8_t*>(chunk) + size);
                if (size <= 0 || e->dispatcher(e, vst::effSetChunk, kind, size,
                                               const_cast<uint8_t*>(copy.data()), 0.0f) != 1)
                    ++badChunks;
                ++chunks;
            }
            if (n % 200 == 0)
                e->dispatcher(e, vst::effMainsChanged, 0, n % 400 == 0 ? 0 : 1, nullptr, 0.0f);
            ++n;
        }
    });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stopUi = true;
    ui.join();
    stopAutomation = true;
    automation.join();
    stopAudio = true;
    audio.join();

    EXPECT_GT(blocks.load(), 0);
    EXPECT_EQ(badBlocks.load(), 0);
    EXPECT_GT(chunks.load(), 0);
    EXPECT_EQ(badChunks.load(), 0);
    for (int index = 0; index < 23; ++index)
        EXPECT_EQ(e->getParameter(e, index), index % 2 == 0 ? 1.0f : 0.0f) << index;
}
} // namespace tpm
