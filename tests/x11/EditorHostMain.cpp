// A minimal Linux host for editor tests: loads the module, opens its editor in a top-level window,
// drives effEditIdle at the rate hosts do, and can write what the window shows to a PNG file.
// Prints READY once the editor's window exists, so a script can send input from then on.
//   x11_editor_host MODULE [--seconds S] [--idle-hz N] [--screenshot FILE] [--cycles N] [--print-params]
//                   [--editor-optional]
// --cycles opens and closes the editor N times first and fails when that leaves descriptors open;
// --print-params prints every parameter as "name=display text" at the end.
#include "tools/hostkit/HostedPlugin.h"
#include "tools/preview/PngWriter.h"
#include "tools/vsthost/HostWindow.h"
#include "vst/VstAbi.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace
{

struct Options
{
    std::string module;
    double seconds = 1.0;
    int idleHz = 30;
    std::string screenshot;
    int cycles = 0;
    bool printParams = false;
    bool editorOptional = false; // a module without an editor is not a failure
};

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
        else if (a == "--print-params")
            o.printParams = true;
        else if (a == "--editor-optional")
            o.editorOptional = true;
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
    tpm::ISurface surface(argb.data(), w, h, w, false);
    return tpm::WritePng(surface, path);
}

int OpenDescriptors()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// Opens, idles and closes the editor `cycles` times; false when descriptors were left open.
bool Cycle(HostedPlugin& plugin, HostWindow& window, int cycles)
{
    int before = 0;
    for (int i = 0; i <= cycles; ++i)
    {
        if (i == 1) // after one cycle, so that first-use state does not count
            before = OpenDescriptors();
        plugin.Dispatch(vst::effEditOpen, 0, 0, window.ParentHandle());
        for (int idle = 0; idle < 3; ++idle)
        {
            window.PumpEvents(1);
            plugin.Dispatch(vst::effEditIdle);
        }
        plugin.Dispatch(vst::effEditClose);
    }
    const int after = OpenDescriptors();
    std::printf("CYCLES %d: descriptors %d -> %d\n", cycles, before, after);
    std::fflush(stdout);
    return after <= before;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!Parse(argc, argv, o))
    {
        std::fprintf(stderr, "usage: x11_editor_host MODULE [--seconds S] [--idle-hz N] [--screenshot FILE] "
                             "[--editor-optional]\n");
        return 2;
    }
    std::string error;
    auto plugin = HostedPlugin::Load(o.module, error);
    if (!plugin)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    plugin->Start();
    int width = 550;
    int height = 363;
    ERect* rect = nullptr;
    if (plugin->Dispatch(vst::effEditGetRect, 0, 0, &rect) && rect)
    {
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    auto window = HostWindow::Create(width, height, "x11_editor_host", error);
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
    if (o.cycles > 0 && !Cycle(*plugin, *window, o.cycles))
        return 4;
    plugin->Dispatch(vst::effEditOpen, 0, 0, window->ParentHandle());
    std::printf("READY\n");
    std::fflush(stdout);
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
