// The audio thread under load: it renders 64-frame blocks at 48 kHz without pause while one other
// thread at a time automates parameters, changes programs, saves and loads program or bank chunks,
// or opens, idles and closes the editor (on the headless window layer). For each workload it prints
// how long the process calls took: the 99.9th percentile, the longest, and how many in 10 000 took
// over 50 µs. A 64-frame buffer lasts 1.33 ms; a process call that waits for another thread shows
// here as a long call. Where the system allows it, both threads run at real-time priority, as a
// host's audio thread would, and pause briefly between blocks and operations.
#include "editor/IEditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "formats/vst2/IEffectVST.h"
#include "plugin/PluginFactory.h"
#include "plugin/TwinPulseToneMix.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr int kBlock = 64;
constexpr int kRounds = 5;
constexpr auto kRoundLength = std::chrono::milliseconds(400);
constexpr auto kAudioPause = std::chrono::microseconds(100);
constexpr auto kOtherPause = std::chrono::microseconds(50);
constexpr double kLongCallUs = 50.0;

// TPM_BENCH_NO_RT=1 leaves both threads at normal priority, as a host without real-time rights runs.
bool MakeRealTime()
{
    if (std::getenv("TPM_BENCH_NO_RT"))
        return false;
    sched_param param{};
    param.sched_priority = 10;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

AEffect* MakePlugin(audioMasterCallback host)
{
    return IEffectVST::Create(host, CreatePlugin());
}

using Work = void (*)(AEffect* e, IEffectBase& plug, unsigned n);

void Nothing(AEffect*, IEffectBase&, unsigned) {}

void AutomationBurst(AEffect* e, IEffectBase& plug, unsigned n)
{
    // The host's automation and an editor gesture with its messages to the host.
    for (int i = 0; i < 23; ++i)
        e->setParameter(e, i, static_cast<float>((n * 7 + static_cast<unsigned>(i) * 13) % 100) / 100.0f);
    const int param = static_cast<int>(n % 22);
    tpm::IEditorController& editor = static_cast<TwinPulseToneMix&>(plug).EditorControl();
    editor.BeginGesture(param);
    editor.SetValue(param, static_cast<double>(n % 10) / 10.0);
    editor.EndGesture(param);
}

void ProgramChange(AEffect* e, IEffectBase&, unsigned n)
{
    e->dispatcher(e, vst::effSetProgram, 0, static_cast<intptr_t>(n % 141), nullptr, 0.0f);
}

// Saves a chunk and loads it back, as a host's undo or session save and recall does.
void ChunkSaveAndLoad(AEffect* e, bool bank)
{
    static std::vector<uint8_t> copy;
    void* data = nullptr;
    const intptr_t size = e->dispatcher(e, vst::effGetChunk, bank ? 0 : 1, 0, &data, 0.0f);
    copy.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    e->dispatcher(e, vst::effSetChunk, bank ? 0 : 1, size, copy.data(), 0.0f);
}

void BankChunks(AEffect* e, IEffectBase&, unsigned)
{
    ChunkSaveAndLoad(e, true);
}

void ProgramChunks(AEffect* e, IEffectBase&, unsigned)
{
    ChunkSaveAndLoad(e, false);
}

// The editor opens on the headless window layer, so the cycle draws the whole editor as it would
// on screen, without a display.
void EditorCycle(AEffect* e, IEffectBase&, unsigned)
{
    static_cast<tpm::IEditorWindow*>(IEffectVST::FromEffect(e)->Editor())
        ->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
    e->dispatcher(e, vst::effEditOpen, 0, 0, nullptr, 0.0f);
    for (int i = 0; i < 10; ++i)
        e->dispatcher(e, vst::effEditIdle, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, vst::effEditClose, 0, 0, nullptr, 0.0f);
}

struct Scenario
{
    const char* name;
    Work work;
};

// Durations of the round's process calls in microseconds.
std::vector<double> RunRound(Vst2HostedPlugin& host, IEffectBase& plug, Work work)
{
    AEffect* e = host.Effect();
    std::atomic<bool> stop{false};
    std::vector<double> calls;
    calls.reserve(20000);
    std::thread audio([&] {
        std::vector<float> l(kBlock, 0.1f), r(kBlock, -0.1f), ol(kBlock), orr(kBlock);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        MakeRealTime();
        while (!stop.load(std::memory_order_relaxed))
        {
            const auto start = Clock::now();
            e->processReplacing(e, in, out, kBlock);
            calls.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            std::this_thread::sleep_for(kAudioPause);
        }
    });
    unsigned n = 0;
    const auto end = Clock::now() + kRoundLength;
    while (Clock::now() < end)
    {
        work(e, plug, n++);
        if (n % 64 == 0)
            host.ClearCalls();
        std::this_thread::sleep_for(kOtherPause);
    }
    stop = true;
    audio.join();
    return calls;
}
} // namespace

int main()
{
    HostSettings settings;
    settings.sampleRate = 48000.0;
    settings.blockSize = kBlock;
    settings.playing = true;
    settings.recordCalls = false;
    std::string error;
    auto host = Vst2HostedPlugin::Create(&MakePlugin, error, settings);
    if (!host)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    host->Start();
    IEffectBase& plug = IEffectVST::FromEffect(host->Effect())->Product();
    std::printf("threads at real-time priority: %s\n",
                MakeRealTime() ? "yes" : "no (figures include preemption)");

    const Scenario scenarios[] = {
        {"nothing", Nothing},
        {"bank chunk save + load", BankChunks},
        {"automation burst", AutomationBurst},
        {"program chunk save + load", ProgramChunks},
        {"program changes", ProgramChange},
        {"editor open/idle/close", EditorCycle},
    };
    std::printf("64-frame process calls at 48 kHz (1.33 ms each), %d rounds of %lld ms per workload\n",
                kRounds, static_cast<long long>(kRoundLength.count()));
    std::printf("%-28s %12s %10s %22s %8s\n", "other thread", "p99.9 (µs)", "max (ms)",
                "calls over 50 µs /10k", "calls");
    for (const Scenario& s : scenarios)
    {
        std::vector<double> all;
        for (int r = 0; r < kRounds; ++r)
        {
            const std::vector<double> round = RunRound(*host, plug, s.work);
            all.insert(all.end(), round.begin(), round.end());
        }
        std::sort(all.begin(), all.end());
        const double p999 = all[std::min(all.size() - 1, static_cast<std::size_t>(0.999 * all.size()))];
        const auto longCalls =
            std::count_if(all.begin(), all.end(), [](double us) { return us > kLongCallUs; });
        std::printf("%-28s %12.1f %10.2f %22.1f %8zu\n", s.name, p999, all.back() / 1000.0,
                    10000.0 * static_cast<double>(longCalls) / static_cast<double>(all.size()), all.size());
    }
    return 0;
}
