// The plug-in lock under load: an audio thread renders 64-frame blocks without pause while one
// other thread at a time automates parameters, changes programs, saves or loads the bank, or
// opens, idles and closes the editor (on the headless window). For each, prints the longest time a process
// callback waited for the lock and the longest time the other thread held it (from the lock's own timing).
// Aims: both under 50 µs, a bank load under 200 µs. On a shared, loaded machine the wall clock also counts
// the time a holder sat preempted, so the holds are printed in the holder's CPU time as well (what the work
// under the lock costs), and each figure as the worst of several rounds and the median round. Where the
// system allows it, both threads run at real-time priority, as a host's audio thread would, and pause briefly
// between blocks and operations, so that the machine's other work neither preempts them nor starves.
#include "editor/IEditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "formats/vst2/IEffectVST.h"
#include "plugin/PluginFactory.h"
#include "tools/hostkit/HostedPlugin.h"

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
constexpr int kBlock = 64;
constexpr int kRounds = 7;
constexpr auto kRoundLength = std::chrono::milliseconds(300);
constexpr auto kAudioPause = std::chrono::microseconds(100);
constexpr auto kOtherPause = std::chrono::microseconds(50);

bool MakeRealTime()
{
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
    plug.HostBeginEdit(param);
    plug.SetParameterFromEditor(param, static_cast<double>(n % 10) / 10.0);
    plug.HostEndEdit(param);
}

void ProgramChange(AEffect* e, IEffectBase&, unsigned n)
{
    e->dispatcher(e, vst::effSetProgram, 0, static_cast<intptr_t>(n % 141), nullptr, 0.0f);
}

void BankSave(AEffect* e, IEffectBase&, unsigned)
{
    void* data = nullptr;
    e->dispatcher(e, vst::effGetChunk, 0, 0, &data, 0.0f);
}

void BankLoad(AEffect* e, IEffectBase&, unsigned)
{
    static std::vector<uint8_t> bank;
    if (bank.empty())
    {
        void* data = nullptr;
        const intptr_t size = e->dispatcher(e, vst::effGetChunk, 0, 0, &data, 0.0f);
        bank.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    }
    e->dispatcher(e, vst::effSetChunk, 0, static_cast<intptr_t>(bank.size()), bank.data(), 0.0f);
}

// The editor opens on the headless window layer, so the cycle draws the whole editor as it would
// on screen, without a display.
void EditorCycle(AEffect* e, IEffectBase& plug, unsigned)
{
    static_cast<tpm::IEditorWindow*>(plug.GetEditor())
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

struct Round
{
    double audioWaitUs;
    double otherHoldUs;
    double otherHoldCpuUs;
    unsigned operations;
    PluginLock::Figures figures;
};

// The bound below which the given share of all counted times lies, in microseconds.
double PercentileBoundUs(const std::vector<Round>& rounds,
                         int64_t (PluginLock::Figures::*counts)[2][PluginLock::kBuckets], int role,
                         double share)
{
    int64_t total[PluginLock::kBuckets] = {};
    int64_t all = 0;
    for (const Round& r : rounds)
        for (int b = 0; b < PluginLock::kBuckets; ++b)
        {
            total[b] += (r.figures.*counts)[role][b];
            all += (r.figures.*counts)[role][b];
        }
    int64_t seen = 0;
    for (int b = 0; b < PluginLock::kBuckets; ++b)
    {
        seen += total[b];
        if (static_cast<double>(seen) >= share * static_cast<double>(all))
            return PluginLock::BucketBoundUs(b);
    }
    return PluginLock::BucketBoundUs(PluginLock::kBuckets);
}

Round RunRound(HostedPlugin& host, IEffectBase& plug, Work work)
{
    AEffect* e = host.Effect();
    std::atomic<bool> stop{false};
    plug.Lock().TakeFigures();
    std::thread audio([&] {
        std::vector<float> l(kBlock, 0.1f), r(kBlock, -0.1f), ol(kBlock), orr(kBlock);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        MakeRealTime();
        while (!stop.load(std::memory_order_relaxed))
        {
            e->processReplacing(e, in, out, kBlock);
            std::this_thread::sleep_for(kAudioPause);
        }
    });
    unsigned n = 0;
    const auto end = std::chrono::steady_clock::now() + kRoundLength;
    while (std::chrono::steady_clock::now() < end)
    {
        work(e, plug, n++);
        if (n % 64 == 0)
            host.ClearCalls();
        std::this_thread::sleep_for(kOtherPause);
    }
    stop = true;
    audio.join();
    const PluginLock::Figures figures = plug.Lock().TakeFigures();
    constexpr int kAudio = static_cast<int>(PluginLock::Role::kAudio);
    constexpr int kOther = static_cast<int>(PluginLock::Role::kOther);
    return {static_cast<double>(figures.longestWaitNs[kAudio]) / 1000.0,
            static_cast<double>(figures.longestHoldNs[kOther]) / 1000.0,
            static_cast<double>(figures.longestHoldCpuNs[kOther]) / 1000.0, n, figures};
}
} // namespace

int main()
{
    HostSettings settings;
    settings.sampleRate = 48000.0;
    settings.blockSize = kBlock;
    settings.playing = true;
    std::string error;
    auto host = HostedPlugin::Create(&MakePlugin, error, settings);
    if (!host)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    host->Start();
    IEffectBase& plug = IEffectVST::FromEffect(host->Effect())->Product();
    PluginLock::EnableTiming(true);
    std::printf("threads at real-time priority: %s\n",
                MakeRealTime() ? "yes" : "no (figures include preemption)");

    const Scenario scenarios[] = {
        {"nothing (baseline)", Nothing},    {"automation burst", AutomationBurst},
        {"program changes", ProgramChange}, {"bank chunk save", BankSave},
        {"bank chunk load", BankLoad},      {"editor open/close/idle", EditorCycle},
    };
    std::printf(
        "longest per round in microseconds, worst round / median round; p50 and p99.9: half and 99.9 %% of "
        "all are below\n");
    std::printf("%-24s %28s %21s %36s %10s\n", "other thread", "audio wait (wall) | p99.9",
                "other hold (wall)", "other hold (cpu) | p50 | p99.9", "ops/round");
    for (const Scenario& s : scenarios)
    {
        std::vector<Round> rounds;
        for (int r = 0; r < kRounds; ++r)
            rounds.push_back(RunRound(*host, plug, s.work));
        auto worst = [&](double Round::*field) {
            double w = 0.0;
            for (const Round& r : rounds)
                w = std::max(w, r.*field);
            return w;
        };
        auto median = [&](double Round::*field) {
            std::vector<double> v;
            for (const Round& r : rounds)
                v.push_back(r.*field);
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        constexpr int kAudio = static_cast<int>(PluginLock::Role::kAudio);
        constexpr int kOther = static_cast<int>(PluginLock::Role::kOther);
        std::printf("%-24s %10.1f / %8.1f | %5.0f %10.1f / %8.1f %10.1f / %8.1f | %5.1f | %5.0f %10u\n",
                    s.name, worst(&Round::audioWaitUs), median(&Round::audioWaitUs),
                    PercentileBoundUs(rounds, &PluginLock::Figures::waitCounts, kAudio, 0.999),
                    worst(&Round::otherHoldUs), median(&Round::otherHoldUs), worst(&Round::otherHoldCpuUs),
                    median(&Round::otherHoldCpuUs),
                    PercentileBoundUs(rounds, &PluginLock::Figures::holdCpuCounts, kOther, 0.5),
                    PercentileBoundUs(rounds, &PluginLock::Figures::holdCpuCounts, kOther, 0.999),
                    rounds[0].operations);
    }
    return 0;
}
