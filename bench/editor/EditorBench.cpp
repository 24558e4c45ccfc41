// The editor's redraw costs on the headless window: the whole editor and one knob (each at 1x and at
// 2x, argument 100 and 200: scale-ratios.sh compares them), and a frame tick with nothing changed
// (which must draw nothing); and what an instance costs to create, with and
// without its editor opened, in a process that has made one before and as the first of a fresh
// module (what a host's scan pays).
#include "editor/EditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "engine/ParamId.h"
#include "formats/vst2/Vst2Effect.h"
#include "plugin/PluginInstance.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace tpm
{
namespace
{
AEffect* MakePlugin(audioMasterCallback callback)
{
    return Vst2Effect::Create(callback, PluginInstance::Create());
}

struct OpenEditor
{
    explicit OpenEditor(double scale = 1.0)
    {
        std::string error;
        host = Vst2HostedPlugin::Create(&MakePlugin, error);
        if (!host)
            std::abort();
        host->Start();
        editor = static_cast<tpm::EditorWindow*>(Vst2Effect::FromEffect(host->Effect())->Editor());
        editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
        editor->SetScale(scale);
        host->Dispatch(vst::effEditOpen);
        window = static_cast<tpm::HeadlessWindowLayer*>(editor->WindowLayer());
        window->Tick();
        window->Tick();
        window->ClearRecords();
    }
    std::unique_ptr<Vst2HostedPlugin> host;
    tpm::EditorWindow* editor = nullptr;
    tpm::HeadlessWindowLayer* window = nullptr;
};
} // namespace

static void FullRedraw(benchmark::State& state)
{
    OpenEditor open(static_cast<double>(state.range(0)) / 100.0);
    for (auto _ : state)
        open.editor->DrawRegion({0, 0, 550, 363});
}
BENCHMARK(FullRedraw)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

static void OneKnobRedraw(benchmark::State& state)
{
    OpenEditor open(static_cast<double>(state.range(0)) / 100.0);
    int n = 0;
    for (auto _ : state)
    {
        AEffect* e = open.host->Effect();
        e->setParameter(e, ToIndex(ParamId::kMix), static_cast<float>(n++ % 100) / 100.0f);
        open.window->Tick();
    }
}
BENCHMARK(OneKnobRedraw)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

static void IdleTick(benchmark::State& state)
{
    OpenEditor open;
    for (auto _ : state)
        open.window->Tick();
    if (!open.window->Redraws().empty())
        state.SkipWithError("an idle tick drew something");
}
BENCHMARK(IdleTick)->Unit(benchmark::kMicrosecond);

static void CreateInstance(benchmark::State& state)
{
    std::string error;
    for (auto _ : state)
    {
        auto host = Vst2HostedPlugin::Create(&MakePlugin, error);
        host->Start();
    }
}
BENCHMARK(CreateInstance)->Unit(benchmark::kMicrosecond);

static void CreateInstanceAndOpenEditor(benchmark::State& state)
{
    for (auto _ : state)
        OpenEditor open;
}
BENCHMARK(CreateInstanceAndOpenEditor)->Unit(benchmark::kMicrosecond);

// The module is loaded and unloaded each time, so every instance is its module's first.
static void CreateFirstInstanceOfModule(benchmark::State& state)
{
    std::string error;
    for (auto _ : state)
    {
        auto host = Vst2HostedPlugin::Load(TPM_MODULE_PATH, error);
        if (!host)
        {
            state.SkipWithError(error.c_str());
            break;
        }
        host->Start();
    }
}
BENCHMARK(CreateFirstInstanceOfModule)->Unit(benchmark::kMicrosecond);
} // namespace tpm
