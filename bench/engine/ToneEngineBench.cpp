// Cost of rendering 512-frame stereo blocks through the module's processDoubleReplacing and
// processReplacing, per setting; reports ns per frame and the real-time factor at 48 kHz.
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tpm
{
namespace
{
constexpr int kFrames = 512;
constexpr double kRate = 48000.0;

// Normalised parameter values on top of the defaults.
using Settings = std::vector<std::pair<int, float>>;

std::unique_ptr<Vst2HostedPlugin> Load(const Settings& settings)
{
    HostSettings host;
    host.sampleRate = kRate;
    host.blockSize = kFrames;
    host.playing = true; // the default "Play Anyway" "No" sounds only while the transport runs
    std::string error;
    auto plugin = Vst2HostedPlugin::Load(TPM_MODULE_PATH, error, host);
    if (!plugin)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    plugin->Start();
    AEffect* e = plugin->Effect();
    for (const auto& [idx, value] : settings)
        e->setParameter(e, idx, value);
    return plugin;
}

void Report(benchmark::State& state)
{
    // Shown as time per frame (e.g. "16.5ns") and seconds of 48 kHz audio per second of work.
    state.counters["per_frame"] = benchmark::Counter(kFrames, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
    state.counters["rt_factor"] =
        benchmark::Counter(kFrames / kRate, benchmark::Counter::kIsIterationInvariantRate);
}

void RenderDouble(benchmark::State& state, const Settings& settings)
{
    auto plugin = Load(settings);
    AEffect* e = plugin->Effect();
    std::vector<double> inL(kFrames, 0.1), inR(kFrames, -0.1), outL(kFrames), outR(kFrames);
    double* in[] = {inL.data(), inR.data()};
    double* out[] = {outL.data(), outR.data()};
    for (int i = 0; i < 100; ++i)
        e->processDoubleReplacing(e, in, out, kFrames); // past the glide
    for (auto _ : state)
    {
        e->processDoubleReplacing(e, in, out, kFrames);
        benchmark::DoNotOptimize(outL.data());
        benchmark::ClobberMemory();
    }
    Report(state);
}

void RenderSingle(benchmark::State& state, const Settings& settings)
{
    auto plugin = Load(settings);
    AEffect* e = plugin->Effect();
    std::vector<float> inL(kFrames, 0.1f), inR(kFrames, -0.1f), outL(kFrames), outR(kFrames);
    float* in[] = {inL.data(), inR.data()};
    float* out[] = {outL.data(), outR.data()};
    for (int i = 0; i < 100; ++i)
        e->processReplacing(e, in, out, kFrames);
    for (auto _ : state)
    {
        e->processReplacing(e, in, out, kFrames);
        benchmark::DoNotOptimize(outL.data());
        benchmark::ClobberMemory();
    }
    Report(state);
}

// Parameter indices and normalised values used below.
constexpr int kWave = 2, kBeats = 4, kLfo1Target = 8, kLfo1Sync = 10, kLfo1Depth = 13, kLfo2Target = 15;
float Wave(int w)
{
    return static_cast<float>(w) / 7.0f;
}

void RegisterAll()
{
    struct Case
    {
        std::string name;
        Settings settings;
    };
    std::vector<Case> cases = {{"Default", {}}};
    const char* waveNames[] = {"Sine",       "Triangle", "Saw",          "Square",
                               "GoldenSine", "SineHalf", "GoldTriangle", "GoldSquare"};
    for (int w = 0; w < 8; ++w)
        cases.push_back({std::string("Wave/") + waveNames[w], {{kWave, Wave(w)}}});
    cases.push_back({"Monaural", {{kBeats, 1.0f}}});
    // Both LFOs running (sine LFOs on "Base Freq" and "Volume", one free, one synced) on a golden wave.
    cases.push_back({"WorstCase",
                     {{kWave, Wave(4)},
                      {kLfo1Target, 0.25f},
                      {kLfo1Depth, 1.0f},
                      {kLfo1Sync, 0.0f},
                      {kLfo2Target, 1.0f}}});
    for (const Case& c : cases)
    {
        benchmark::RegisterBenchmark(("processDoubleReplacing/" + c.name).c_str(), RenderDouble, c.settings);
        benchmark::RegisterBenchmark(("processReplacing/" + c.name).c_str(), RenderSingle, c.settings);
    }
}

const bool registered = (RegisterAll(), true);
} // namespace
} // namespace tpm
