// A minimal Linux host for editor tests: loads the module, opens its editor in a top-level window,
// drives effEditIdle at the rate hosts do, and can write what the window shows to a PNG file.
// Prints READY once the editor's window exists, so a script can send input from then on.
//   x11_editor_host MODULE [--seconds S] [--idle-hz N] [--screenshot FILE] [--editor-optional]
#include "tools/hostkit/HostedPlugin.h"
#include "tools/preview/PngWriter.h"
#include "tools/vsthost/HostWindow.h"
#include "vst/VstAbi.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{

struct Options
{
    std::string module;
    double seconds = 1.0;
    int idleHz = 30;
    std::string screenshot;
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
    std::printf("READY\n");
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(o.seconds);
    bool shot = o.screenshot.empty();
    while (std::chrono::steady_clock::now() < end && window->PumpEvents(1000 / o.idleHz))
    {
        plugin->Dispatch(vst::effEditIdle);
        // The whole editor is painted by the first frame ticks; half a second leaves plenty of room.
        if (!shot && std::chrono::steady_clock::now() + std::chrono::duration<double>(o.seconds - 0.5) >= end)
        {
            shot = true;
            Screenshot(*window, o.screenshot);
        }
    }
    plugin->Dispatch(vst::effEditClose);
    plugin->Close();
    return 0;
}
