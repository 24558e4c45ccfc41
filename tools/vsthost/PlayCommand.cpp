// vsthost play: hosts the plug-in in real time. The device's callback thread renders (see
// PlaybackRenderer); the main thread runs the editor window or the terminal status line and
// decides when to stop. The two share no lock: only atomics pass between them.
#include "tools/vsthost/PlayCommand.h"

#include "tools/hostkit/HostPlatform.h"
#include "tools/hostkit/ScheduleRunner.h"
#include "tools/player/AudioDevice.h"
#include "tools/player/Console.h"
#include "tools/player/LoopedInput.h"
#include "tools/player/PlaybackRenderer.h"
#include "tools/vsthost/HostWindow.h"
#include "tools/vsthost/PlayerControls.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace tpm
{
namespace
{
constexpr double kSleepFadeSeconds = 30.0;
constexpr double kStopFadeSeconds = 0.05;
constexpr int kIdleMs = 20; // about 50 editor idle calls a second
constexpr auto kStatusEvery = std::chrono::milliseconds(250);
constexpr auto kStopGrace = std::chrono::seconds(1); // a stream that stopped calling back ends anyway

int Fail(const std::string& error)
{
    std::fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 1;
}

// --load, --program and the parameters, in that order, as `render` applies them.
bool ApplyStartState(HostedInstance& plugin, const PlayOptions& options)
{
    if (!options.load.empty())
    {
        if (!LoadPresetFileInto(plugin, options.load))
            return false;
    }
    const int programs = plugin.ProgramCount();
    if (options.program >= 0)
    {
        if (options.program >= programs)
        {
            Fail("program " + std::to_string(options.program) + " does not exist (the plug-in has " +
                 std::to_string(programs) + ")");
            return false;
        }
        plugin.SelectProgram(options.program);
    }
    std::string error;
    for (const std::string& assignment : options.params)
        if (!ApplyParamAssignment(plugin, assignment, error))
        {
            Fail(error.empty() ? "cannot set " + assignment : error);
            return false;
        }
    return true;
}

// Reads the schedule before anything plays; its length is 0 when it sets none (play until stopped).
bool LoadPlaySchedule(HostedInstance& plugin, const std::string& path, Schedule& schedule)
{
    if (!LoadScheduleFor(plugin, path, schedule))
        return false;
    if (schedule.LengthSeconds() > kLongestScheduleSeconds)
    {
        Fail("schedule '" + path + "' runs longer than 24 hours");
        return false;
    }
    return true;
}

// The plug-in's editor in a window of its own, under the program bar; null (and the reason on
// stderr) when there is none.
std::unique_ptr<HostWindow> OpenEditor(HostedInstance& plugin, const std::string& title, double scale)
{
    plugin.SetEditorScale(scale);
    int width = 0;
    int height = 0;
    if (!plugin.EditorSize(width, height))
    {
        std::fprintf(stderr, "vsthost: the plug-in has no editor; playing from the terminal\n");
        return nullptr;
    }
    std::string error;
    std::unique_ptr<HostWindow> window =
        HostWindow::Create(width, height, title, error, PlayerControls::ProgramNames(plugin));
    if (window && !plugin.OpenEditor(window->ParentHandle()))
    {
        error = "the plug-in did not open its editor";
        window.reset();
    }
    if (window && !FitToEditor(plugin, *window, width, height))
    {
        plugin.CloseEditor();
        window.reset();
        error = "the window cannot take the editor's size";
    }
    if (window)
        AllowEditorResize(*window, width, height, scale);
    else
        std::fprintf(stderr, "vsthost: no editor window (%s); playing from the terminal\n", error.c_str());
    return window;
}

enum class Ending
{
    Finished,
    DeviceLost
};

// The main thread while the device plays: editor events, idle calls and the program bar, or the
// status line and keys; a stop signal, q or a closed window start the short fade, and playback ends
// once it is silent. Program changes reach the plug-in from here, never from the audio thread.
Ending WaitForEnd(HostedInstance& plugin, AudioDevice& device, PlaybackRenderer& renderer,
                  std::unique_ptr<HostWindow>& window)
{
    using Clock = std::chrono::steady_clock;
    const bool statusLine = !window && StderrIsTerminal();
    PlayerControls controls(plugin, renderer);
    Clock::time_point stopAsked{}, lastStatus{};
    bool stopping = false, closed = false, quit = false;
    Ending ending = Ending::Finished;
    while (!renderer.Finished())
    {
        if (window)
        {
            if (window->PumpEvents(kIdleMs))
            {
                FollowUserResize(plugin, *window);
                plugin.EditorIdle();
                controls.FollowWindow(*window);
            }
            else
            {
                plugin.CloseEditor();
                window.reset();
                closed = true;
            }
        }
        else
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(kIdleMs));
            quit = quit || (!closed && controls.FollowKeys());
        }
        if (!stopping && (closed || quit || StopSignalReceived()))
        {
            stopping = true;
            stopAsked = Clock::now();
        }
        if (stopping)
        {
            renderer.RequestStop();
            if (Clock::now() - stopAsked > kStopGrace)
                break;
        }
        if (!device.Running())
        {
            ending = renderer.Finished() ? Ending::Finished : Ending::DeviceLost;
            break;
        }
        if (statusLine && Clock::now() - lastStatus >= kStatusEvery)
        {
            lastStatus = Clock::now();
            controls.ShowStatus(static_cast<double>(renderer.FramesPlayed()) / device.Rate());
        }
    }
    if (statusLine)
        std::fprintf(stderr, "\n");
    return ending;
}

// What the user should know once playback is over: clipping, and input the player could not keep up with.
void ReportTrouble(const PlaybackRenderer& renderer, LoopedInput* input)
{
    if (renderer.ClippedSamples() > 0)
        PrintWarning(std::to_string(renderer.ClippedSamples()) +
                     " samples beyond full scale were sent to the device, which clips them (peak " +
                     PeakText(renderer.Peak()) + ")");
    if (!input)
        return;
    if (!input->Failure().empty())
        PrintWarning("the input stopped: " + input->Failure());
    else if (input->Underruns() > 0)
        PrintWarning("the input file was read too slowly for " + std::to_string(input->Underruns()) +
                     " buffer(s), which had silence for input");
}
} // namespace

int RunPlay(const PlayOptions& options, const CommonHostOptions& host)
{
    // Before any thread exists: the audio system's and the input's threads must never take them.
    HoldStopSignals();
    if (options.sleepMinutes == 0.0)
        return Fail(
            "--sleep 0 would play nothing; give the minutes to play, or leave it out to play until stopped");
    std::string error;
    std::unique_ptr<AudioDevice> device = AudioDevice::Create(error);
    if (!device)
        return Fail(error);
    PrintWarning(device->SystemNote());
    if (options.listDevices)
    {
        std::vector<std::string> lines;
        if (!device->Describe(lines, error))
            return Fail(error);
        std::printf("audio system: %s\n", device->System().c_str());
        for (const std::string& line : lines)
            std::printf("%s\n", line.c_str());
        return 0;
    }
    if (options.module.empty())
        return Fail("play needs a plug-in module (or --list-devices)");

    std::unique_ptr<LoopedInput> input;
    if (!options.input.empty() && !(input = LoopedInput::Open(options.input, error)))
        return Fail(error);
    HostSettings settings;
    settings.tempo = options.tempo;
    settings.playing = true;
    settings.productName = host.hostName;
    settings.vendorVersion = host.hostVersion;
    settings.logToStderr = host.logAutomation;
    settings.recordCalls = false;
    settings.editorResizable = true;
    auto plugin = OpenPlugin(options.module, settings);
    if (!plugin)
        return 1;
    if (plugin->OutputCount() < 1)
        return Fail("the plug-in has no audio output");
    plugin->Open();
    if (!ApplyStartState(*plugin, options))
        return 1;
    Schedule schedule;
    if (!options.schedule.empty() && !LoadPlaySchedule(*plugin, options.schedule, schedule))
        return 1;

    DeviceRequest request{options.device, options.rate, options.bufferFrames, options.liveInput};
    if (!device->Open(request, error) || (input && !input->Start(device->Rate(), error)))
        return Fail(error);
    const double rate = device->Rate();
    plugin->settings.sampleRate = rate;
    plugin->settings.blockSize = static_cast<int>(device->BufferFrames());
    plugin->Configure(rate, plugin->settings.blockSize);

    PlaybackSetup setup;
    setup.blockFrames = plugin->settings.blockSize;
    setup.fileInput = input.get();
    setup.liveInputChannels = device->InputChannels();
    if (options.sleepMinutes >= 0.0)
    {
        setup.sleepFrames = static_cast<long long>(options.sleepMinutes * 60.0 * rate);
        setup.sleepFadeFrames = std::min(setup.sleepFrames, static_cast<long long>(kSleepFadeSeconds * rate));
    }
    setup.stopFadeFrames = static_cast<long long>(kStopFadeSeconds * rate);
    std::unique_ptr<ScheduleRunner> runner;
    if (!options.schedule.empty())
    {
        runner = std::make_unique<ScheduleRunner>(*plugin, schedule, rate);
        setup.schedule = runner.get();
        if (schedule.LengthSeconds() > 0.0)
            setup.endFrames = std::llround(schedule.LengthSeconds() * rate);
    }
    PlaybackRenderer renderer(*plugin, setup);
    if (!plugin->Resume())
        return Fail("the plug-in did not activate");

    std::unique_ptr<HostWindow> window;
    if (!options.noEditor)
        window = OpenEditor(*plugin, "twinPulseToneMix - vsthost play", options.scale);
    if (!device->Start(renderer, error))
    {
        if (window)
            plugin->CloseEditor();
        return Fail(error);
    }
    // The audio system's threads exist now; from here on only this thread takes the stop signals.
    InstallStopSignals();
    std::fprintf(stderr, "playing through '%s' (%s) at %.0f Hz, %u-frame buffer; Ctrl-C stops\n",
                 device->Name().c_str(), device->System().c_str(), rate, device->BufferFrames());
    const Ending ending = WaitForEnd(*plugin, *device, renderer, window);
    device->Stop();
    if (input)
        input->Stop();
    if (window)
        plugin->CloseEditor();
    window.reset();
    plugin->Suspend();
    plugin->Close();
    const double seconds = static_cast<double>(renderer.FramesPlayed()) / rate;
    std::fprintf(
        stderr, "played %s, %lld underrun(s); the longest callback took %.2f ms of a %.2f ms buffer\n",
        PlayerControls::ClockTime(seconds).c_str(), renderer.Underruns(),
        static_cast<double>(renderer.LongestRenderNs()) / 1e6, 1000.0 * device->BufferFrames() / rate);
    ReportTrouble(renderer, input.get());
    if (ending == Ending::DeviceLost)
        return Fail("the audio device stopped during playback");
    return 0;
}
} // namespace tpm
