// vsthost render: offline rendering through the plug-in, block by block, as a host plays.
#include "tools/hostkit/AudioFile.h"
#include "tools/hostkit/ScheduleRunner.h"
#include "tools/vsthost/Commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
constexpr double kDefaultSeconds = 5.0;

// Mono hosts tell the plug-in that only one channel is wired on each side.
void WireChannels(HostedPlugin& plugin, int channels)
{
    VstSpeakerArrangement input{}, output{};
    input.numChannels = output.numChannels = channels;
    input.type = output.type = channels == 1 ? vst::kSpeakerArrMono : vst::kSpeakerArrStereo;
    plugin.Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output);
}

// Runs the process callback of the chosen precision over one block of planar buffers.
template <typename Sample>
void ProcessBlock(HostedPlugin& plugin, std::vector<std::vector<Sample>>& in,
                  std::vector<std::vector<Sample>>& out, int frames)
{
    Sample* inputs[2] = {in[0].data(), in.size() > 1 ? in[1].data() : nullptr};
    Sample* outputs[2] = {out[0].data(), out.size() > 1 ? out[1].data() : nullptr};
    AEffect* e = plugin.Effect();
    if constexpr (sizeof(Sample) == sizeof(double))
        e->processDoubleReplacing(e, inputs, outputs, frames);
    else
        e->processReplacing(e, inputs, outputs, frames);
}

template <typename Sample>
void RenderAll(HostedPlugin& plugin, const AudioData& input, AudioData& output, int blockSize, bool quiet,
               ScheduleRunner* schedule)
{
    const int channels = output.channels;
    const long long total = output.Frames();
    std::vector<std::vector<Sample>> in(channels, std::vector<Sample>(blockSize));
    std::vector<std::vector<Sample>> out(channels, std::vector<Sample>(blockSize));
    const bool showProgress = !quiet && total > 30 * output.sampleRate;
    int lastPercent = -1;
    int frames = 0;
    for (long long done = 0; done < total; done += frames)
    {
        frames = static_cast<int>(std::min<long long>(blockSize, total - done));
        // A schedule ends blocks early where its steps and ramp updates fall.
        if (schedule)
            frames = schedule->Prepare(done, frames);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < frames; ++i)
            {
                const long long frame = done + i;
                const int from = std::min(c, input.channels - 1);
                in[c][i] = frame < input.Frames() && input.channels > 0
                               ? input.samples[static_cast<std::size_t>(frame * input.channels + from)]
                               : 0.0f;
            }
        ProcessBlock(plugin, in, out, frames);
        plugin.Advance(frames);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < frames; ++i)
                output.samples[static_cast<std::size_t>((done + i) * channels + c)] =
                    static_cast<float>(out[c][i]);
        const int percent = static_cast<int>(100 * (done + frames) / total);
        if (showProgress && percent != lastPercent)
        {
            std::fprintf(stderr, "\rrendering %3d%%", percent);
            lastPercent = percent;
        }
    }
    if (showProgress)
        std::fprintf(stderr, "\n");
}
} // namespace

int RunRender(const RenderOptions& options, const CommonHostOptions& host)
{
    AudioData input;
    std::string error;
    // Refuse an output we could not write before spending the time to render it.
    if (!CanWriteAudioPath(options.output, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    if (!options.input.empty() &&
        !ReadAudioFile(options.input, options.channels, options.sampleRate, input, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    HostSettings settings;
    settings.sampleRate = options.sampleRate;
    settings.blockSize = options.blockSize;
    settings.tempo = options.tempo;
    settings.tempoValid = options.tempo > 0.0;
    settings.playing = !options.stopped;
    settings.productName = host.hostName;
    settings.vendorVersion = host.hostVersion;
    settings.logToStderr = host.logAutomation;
    auto plugin = OpenModule(options.module, settings);
    if (!plugin)
        return 1;
    AEffect* e = plugin->Effect();
    if (options.channels > e->numInputs || options.channels > e->numOutputs)
    {
        std::fprintf(stderr, "vsthost: the plug-in has %d inputs and %d outputs, fewer than %d channels\n",
                     e->numInputs, e->numOutputs, options.channels);
        return 1;
    }
    plugin->Dispatch(vst::effOpen);
    plugin->Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(options.sampleRate));
    plugin->Dispatch(vst::effSetBlockSize, 0, options.blockSize);
    WireChannels(*plugin, options.channels);
    if (!options.load.empty() && !LoadPresetFileInto(*plugin, options.load))
        return 1;
    if (options.program >= 0)
    {
        if (options.program >= e->numPrograms)
        {
            std::fprintf(stderr, "vsthost: program %d does not exist (the plug-in has %d)\n", options.program,
                         e->numPrograms);
            return 1;
        }
        plugin->Dispatch(vst::effSetProgram, 0, options.program);
    }
    for (const std::string& assignment : options.params)
        if (!ApplyParamAssignment(*plugin, assignment, error))
        {
            std::fprintf(stderr, "vsthost: %s\n",
                         error.empty() ? ("cannot set " + assignment).c_str() : error.c_str());
            return 1;
        }
    Schedule schedule;
    if (!options.schedule.empty() && !LoadScheduleFor(*plugin, options.schedule, schedule))
        return 1;
    const double seconds = options.seconds >= 0.0      ? options.seconds
                           : !options.schedule.empty() ? schedule.LengthSeconds()
                           : options.input.empty()     ? kDefaultSeconds
                                                   : static_cast<double>(input.Frames()) / options.sampleRate;
    if (!options.schedule.empty() && seconds > kLongestScheduleSeconds)
    {
        std::fprintf(stderr, "vsthost: schedule '%s' runs %.0f s, longer than 24 hours\n",
                     options.schedule.c_str(), seconds);
        return 1;
    }
    if (!options.schedule.empty() && seconds <= 0.0)
    {
        std::fprintf(stderr,
                     "vsthost: schedule '%s' sets no length: add an 'end TIME' line or give --seconds\n",
                     options.schedule.c_str());
        return 1;
    }
    std::unique_ptr<ScheduleRunner> runner;
    if (!options.schedule.empty())
        runner = std::make_unique<ScheduleRunner>(*plugin, schedule, options.sampleRate);
    plugin->Dispatch(vst::effMainsChanged, 0, 1);

    AudioData output;
    output.channels = options.channels;
    output.sampleRate = options.sampleRate;
    output.samples.assign(static_cast<std::size_t>(std::llround(seconds * options.sampleRate)) *
                              static_cast<std::size_t>(options.channels),
                          0.0f);
    if (options.doublePrecision)
        RenderAll<double>(*plugin, input, output, options.blockSize, options.quiet, runner.get());
    else
        RenderAll<float>(*plugin, input, output, options.blockSize, options.quiet, runner.get());
    plugin->Dispatch(vst::effMainsChanged, 0, 0);
    plugin->Close();
    if (!WriteAudioFile(options.output, output, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    if (!options.quiet)
        std::fprintf(stderr, "rendered %.2f s, %d channel(s) at %.0f Hz to %s\n", seconds, options.channels,
                     options.sampleRate, options.output.c_str());
    return 0;
}
