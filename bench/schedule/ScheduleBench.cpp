// Parsing a schedule of list texts against the VST2 module, as `vsthost render --schedule` does:
// the time per line, which must not grow with how often a text repeats.
#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/ParamCatalog.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tpm
{
namespace
{
void BM_ScheduleOfListTexts(benchmark::State& state)
{
    std::string error;
    auto plugin = OpenHostedInstance(TPM_MODULE_PATH, error, HostSettings{});
    if (!plugin)
    {
        state.SkipWithError(error.c_str());
        return;
    }
    plugin->Open();
    const int lines = static_cast<int>(state.range(0));
    std::string text = "0 Mix=50\n";
    for (int i = 0; i < lines; ++i)
        text += i % 2 ? "0 Wave=Sine\n" : "0 Wave=\"Golden Sine\"\n";
    text += "end 0.1\n";
    for (auto _ : state)
    {
        ParamCatalog catalog(*plugin);
        Schedule schedule;
        if (!ParseSchedule(text, "bench.schedule", ScheduleLookupsFor(catalog), schedule, error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(schedule.steps.data());
    }
    state.SetItemsProcessed(state.iterations() * lines); // items: lines
}
BENCHMARK(BM_ScheduleOfListTexts)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
} // namespace
} // namespace tpm
