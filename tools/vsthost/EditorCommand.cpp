// vsthost editor: opens the plug-in's editor in a window of its own, drives its idle calls, and either
// stays until the window is closed or saves the window's pixels as PNG after a while and exits.
// With --report-window, scripts read "READY x y width height" (the editor's screen position) and
// "SCREENSHOT file"; with --print-params the final "Name=display text" of every parameter.
#include "tools/preview/PngWriter.h"
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/HostWindow.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tpm
{
namespace
{

constexpr int kIdleIntervalMs = 16;

bool SaveScreenshot(HostWindow& window, const std::string& path, bool report)
{
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    std::string error;
    if (!window.CapturePixels(pixels, width, height, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return false;
    }
    tpm::PixelSurface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.SetPixel(x, y, pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]);
    if (!tpm::WritePng(surface, path))
    {
        std::fprintf(stderr, "vsthost: could not write '%s'\n", path.c_str());
        return false;
    }
    if (report)
        std::printf("SCREENSHOT %s\n", path.c_str());
    std::fflush(stdout);
    return true;
}

// The window loop: idle calls about 60 times a second until the window closes or the screenshot is due.
int ShowEditor(HostedInstance& plugin, HostWindow& window, const EditorOptions& options)
{
    using Clock = std::chrono::steady_clock;
    const auto due = Clock::now() + std::chrono::milliseconds(options.afterMs);
    while (window.PumpEvents(kIdleIntervalMs))
    {
        FollowUserResize(plugin, window);
        plugin.EditorIdle();
        if (!options.screenshot.empty() && Clock::now() >= due)
            return SaveScreenshot(window, options.screenshot, options.reportWindow) ? 0 : 1;
    }
    return 0;
}

} // namespace

bool FitToEditor(HostedInstance& plugin, HostWindow& window, int& width, int& height)
{
    int opened = 0;
    int openedHeight = 0;
    if (!plugin.EditorSize(opened, openedHeight) || (opened == width && openedHeight == height))
        return true;
    if (!window.Resize(opened, openedHeight))
    {
        std::fprintf(stderr, "vsthost: the window cannot take the editor's size %dx%d\n", opened,
                     openedHeight);
        return false;
    }
    width = opened;
    height = openedHeight;
    return true;
}

void AllowEditorResize(HostWindow& window, int width, int height, double scale)
{
    // The editors this tool is made for draw at 1x to 3x.
    constexpr double kLargestScale = 3.0;
    const double given = scale > 0.0 ? scale : 1.0;
    const int minWidth = static_cast<int>(std::lround(width / given));
    const int minHeight = static_cast<int>(std::lround(height / given));
    window.AllowUserResize(minWidth, minHeight, static_cast<int>(std::lround(minWidth * kLargestScale)),
                           static_cast<int>(std::lround(minHeight * kLargestScale)));
}

void FollowUserResize(HostedInstance& plugin, HostWindow& window)
{
    int width = 0;
    int height = 0;
    if (plugin.TakeEditorRequest(width, height))
    {
        window.Resize(width, height);
        return;
    }
    if (!window.TakeUserSize(width, height))
        return;
    if (!plugin.ResizeEditor(width, height) && !plugin.EditorSize(width, height))
        return;
    window.Resize(width, height);
}

int RunEditor(const EditorOptions& options, const CommonHostOptions& host)
{
    HostSettings settings;
    settings.productName = host.hostName;
    settings.vendorVersion = host.hostVersion;
    settings.logToStderr = host.logAutomation;
    settings.editorResizable = true;
    auto plugin = OpenPlugin(options.module, settings);
    if (!plugin)
        return 1;
    plugin->Open();
    plugin->Configure(settings.sampleRate, settings.blockSize);
    plugin->Resume();
    plugin->SetEditorScale(options.scale);
    int width = 0;
    int height = 0;
    if (!plugin->EditorSize(width, height))
    {
        std::fprintf(stderr, "vsthost: the plug-in has no editor\n");
        return 1;
    }
    std::string error;
    auto window = HostWindow::Create(width, height, "vsthost: " + plugin->Name(), error);
    if (!window)
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    if (!plugin->OpenEditor(window->ParentHandle()))
    {
        std::fprintf(stderr, "vsthost: the plug-in did not open its editor\n");
        return 1;
    }
    if (!FitToEditor(*plugin, *window, width, height))
        return 1;
    AllowEditorResize(*window, width, height, options.scale);
    int x = 0;
    int y = 0;
    window->ScreenOrigin(x, y);
    if (options.reportWindow)
        std::printf("READY %d %d %d %d\n", x, y, width, height);
    std::fflush(stdout);
    const int result = ShowEditor(*plugin, *window, options);
    plugin->CloseEditor();
    // What the user set in the editor, in the form -p takes back.
    for (int i = 0; options.printParams && i < plugin->ParamCount(); ++i)
        std::printf("%s=%s\n", plugin->ParamName(i).c_str(), plugin->ParamDisplay(i).c_str());
    std::fflush(stdout);
    plugin->Close();
    return result;
}
} // namespace tpm
