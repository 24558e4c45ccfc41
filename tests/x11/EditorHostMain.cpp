// A minimal host for editor tests (X11 natively, Win32 under Wine): loads the module, opens its editor
// in a top-level window, drives effEditIdle at the rate hosts do, and can write what the window shows
// to a PNG file. Prints READY once the editor's window exists, so a script can send input from then on.
//   editor_host MODULE [--seconds S] [--idle-hz N] [--screenshot FILE] [--cycles N] [--instances N]
//               [--print-params] [--editor-optional] [--set I=V ...] [--set-open I=V ... --ticks N]
// --cycles opens and closes the editor N times first and fails when that leaves descriptors or handles
// open; with --instances 2 each cycle has two instances' editors open at once, which must share one
// window class that goes with the last of them (where windows have classes);
// --print-params prints every parameter as "name=display text" at the end.
// --set gives parameter I the normalised value V before the instance is switched on; with --ticks the
// host gives it, through --set-open, once the editor is open on the resumed instance, which is never
// processed, then sends N idle ticks and takes the screenshot: what the editor shows of a host's
// change while no audio runs.
#include "formats/vst2/VstAbi.h"
#include "support/EditorProbe.h"
#include "tools/hostkit/Vst2HostedPlugin.h"
#include "tools/preview/PngWriter.h"
#include "tools/vsthost/HostWindow.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tpm
{
namespace
{
#if defined(TPM_SANITIZED)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

struct Options
{
    std::string module;
    double seconds = 1.0;
    int idleHz = 30;
    std::string screenshot;
    int cycles = 0;
    int instances = 1;
    bool printParams = false;
    bool editorOptional = false; // a module without an editor is not a failure
    std::vector<std::pair<int, float>> set;
    std::vector<std::pair<int, float>> setOpen;
    int ticks = 0;
};

bool ParseSetting(const char* text, std::vector<std::pair<int, float>>& out)
{
    int index = 0;
    float value = 0.0f;
    if (std::sscanf(text, "%d=%f", &index, &value) != 2)
        return false;
    out.emplace_back(index, value);
    return true;
}

bool Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--seconds" && hasValue)
            o.seconds = std::atof(argv[++i]);
        else if (a == "--idle-hz" && hasValue)
            o.idleHz = std::max(1, std::atoi(argv[++i]));
        else if (a == "--screenshot" && hasValue)
            o.screenshot = argv[++i];
        else if (a == "--cycles" && hasValue)
            o.cycles = std::max(0, std::atoi(argv[++i]));
        else if (a == "--instances" && hasValue)
            o.instances = std::max(1, std::atoi(argv[++i]));
        else if (a == "--print-params")
            o.printParams = true;
        else if (a == "--editor-optional")
            o.editorOptional = true;
        else if (a == "--set" && hasValue)
        {
            if (!ParseSetting(argv[++i], o.set))
                return false;
        }
        else if (a == "--set-open" && hasValue)
        {
            if (!ParseSetting(argv[++i], o.setOpen))
                return false;
        }
        else if (a == "--ticks" && hasValue)
            o.ticks = std::max(1, std::atoi(argv[++i]));
        else if (o.module.empty() && a.rfind("--", 0) != 0)
            o.module = a;
        else
            return false;
    }
    return !o.module.empty();
}

bool Screenshot(HostWindow& window, const std::string& path)
{
    std::vector<uint32_t> argb;
    int w = 0;
    int h = 0;
    std::string error;
    if (!window.CapturePixels(argb, w, h, error))
    {
        std::fprintf(stderr, "screenshot: %s\n", error.c_str());
        return false;
    }
    tpm::PixelSurface surface(argb.data(), w, h, w, false);
    return tpm::WritePng(surface, path);
}

// An instance of the module with a window of its own, for editors open side by side.
struct Instance
{
    std::unique_ptr<Vst2HostedPlugin> plugin;
    std::unique_ptr<HostWindow> window;
};

void Idle(std::vector<Instance*>& all)
{
    for (int idle = 0; idle < 3; ++idle)
        for (Instance* in : all)
        {
            in->window->PumpEvents(1);
            in->plugin->Dispatch(vst::effEditIdle);
        }
}

// Opens, idles and closes every instance's editor `cycles` times; false when that left handles open,
// or when editors open at once did not share one window class, kept until the last of them closed.
bool Cycle(std::vector<Instance*>& all, int cycles)
{
    int before = 0;
    long long memoryBefore = 0;
    bool classOk = true;
    for (int i = 0; i <= cycles; ++i)
    {
        if (i == 1) // after one cycle, so that first-use state does not count
        {
            before = editorprobe::OpenHandles();
            memoryBefore = editorprobe::MemoryInUse();
        }
        for (Instance* in : all)
            in->plugin->Dispatch(vst::effEditOpen, 0, 0, in->window->ParentHandle());
        Idle(all);
        const editorprobe::WindowClass first =
            editorprobe::EditorWindowClass(all.front()->window->ParentHandle());
        for (Instance* in : all)
        {
            const editorprobe::WindowClass c = editorprobe::EditorWindowClass(in->window->ParentHandle());
            classOk = classOk && c.name == first.name && c.module == first.module;
        }
        for (size_t k = all.size(); k-- > 0;)
        {
            all[k]->plugin->Dispatch(vst::effEditClose);
            const bool registered = editorprobe::IsRegistered(first);
            classOk = classOk && (first.name.empty() || registered == (k > 0));
        }
        if (i == 0 && !first.name.empty())
            std::printf("WINDOW CLASS '%s' shared by %zu editors: %s\n", first.name.c_str(), all.size(),
                        classOk ? "yes" : "no");
    }
    const int after = editorprobe::OpenHandles();
    const long long grown = editorprobe::MemoryInUse() - memoryBefore;
    std::printf("CYCLES %d: handles %d -> %d, memory %+lld KiB\n", cycles, before, after, grown / 1024);
    std::fflush(stdout);
    // One editor's surfaces are about a megabyte: a leak per cycle would grow by far more than this.
    // Sanitizer builds keep freed memory in quarantine, so there LeakSanitizer is the leak check.
    constexpr long long kMemoryNoise = kSanitized ? std::numeric_limits<long long>::max() : 4LL << 20;
    return after <= before && grown < kMemoryNoise && classOk;
}

} // namespace
} // namespace tpm

using namespace tpm;

int main(int argc, char** argv)
{
    Options o;
    if (!Parse(argc, argv, o))
    {
        std::fprintf(stderr, "usage: editor_host MODULE [--seconds S] [--idle-hz N] [--screenshot FILE] "
                             "[--cycles N] [--instances N] [--print-params] [--editor-optional]\n");
        return 2;
    }
    std::string error;
    auto plugin = Vst2HostedPlugin::Load(o.module, error);
    if (!plugin)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const auto& [index, value] : o.set)
        plugin->Effect()->setParameter(plugin->Effect(), index, value);
    plugin->Start();
    int width = 550;
    int height = 363;
    ERect* rect = nullptr;
    if (plugin->Dispatch(vst::effEditGetRect, 0, 0, &rect) && rect)
    {
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    auto window = HostWindow::Create(width, height, "editor_host", error);
    if (!window)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (plugin->Dispatch(vst::effEditOpen, 0, 0, window->ParentHandle()) == 0)
    {
        std::printf("NO EDITOR\n");
        return o.editorOptional ? 0 : 3;
    }
    plugin->Dispatch(vst::effEditClose);
    std::vector<Instance> more(static_cast<size_t>(o.instances - 1));
    Instance first{std::move(plugin), std::move(window)};
    std::vector<Instance*> all{&first};
    for (Instance& in : more)
    {
        in.plugin = Vst2HostedPlugin::Load(o.module, error);
        in.window = in.plugin ? HostWindow::Create(width, height, "editor_host", error) : nullptr;
        if (!in.window)
        {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        in.plugin->Start();
        all.push_back(&in);
    }
    if (o.cycles > 0 && !Cycle(all, o.cycles))
        return 4;
    more.clear(); // their windows would cover the one the screenshot reads
    plugin = std::move(first.plugin);
    window = std::move(first.window);
    plugin->Dispatch(vst::effEditOpen, 0, 0, window->ParentHandle());
    std::printf("READY\n");
    std::fflush(stdout);
    if (o.ticks > 0)
    {
        for (const auto& [index, value] : o.setOpen)
            plugin->Effect()->setParameter(plugin->Effect(), index, value);
        for (int tick = 0; tick < o.ticks; ++tick)
        {
            window->PumpEvents(1000 / o.idleHz);
            plugin->Dispatch(vst::effEditIdle);
        }
        const bool shot = Screenshot(*window, o.screenshot);
        plugin->Dispatch(vst::effEditClose);
        plugin->Close();
        return shot ? 0 : 1;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(o.seconds);
    bool shot = o.screenshot.empty();
    while (std::chrono::steady_clock::now() < end && window->PumpEvents(1000 / o.idleHz))
    {
        plugin->Dispatch(vst::effEditIdle);
        // Half a second before the end: the editor has painted, and input sent meanwhile has been drawn.
        if (!shot && std::chrono::steady_clock::now() + std::chrono::milliseconds(500) >= end)
        {
            shot = true;
            Screenshot(*window, o.screenshot);
        }
    }
    plugin->Dispatch(vst::effEditClose);
    for (int i = 0; o.printParams && i < plugin->Effect()->numParams; ++i)
        std::printf("%s=%s\n", plugin->ParamName(i).c_str(), plugin->ParamDisplay(i).c_str());
    std::fflush(stdout); // before the module goes: a sanitizer's exit report must not swallow it
    plugin->Close();
    return 0;
}
