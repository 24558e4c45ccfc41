// vsthost render: offline rendering through the plug-in as a stream, block by block as a host
// plays, in constant memory; the output replaces its target only once it is complete.
#include "tools/hostkit/AudioReader.h"
#include "tools/hostkit/AudioWriter.h"
#include "tools/hostkit/HostPlatform.h"
#include "tools/hostkit/ScheduleRunner.h"
#include "tools/vsthost/BlockRenderer.h"
#include "tools/vsthost/Commands.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace tpm
{
namespace
{
constexpr double kDefaultSeconds = 5.0;

// One channel out while the plug-in puts its two tones on two ears loses one of them.
void WarnOfLostEar(HostedInstance& plugin, int channels)
{
    if (channels != 1)
        return;
    for (int i = 0; i < plugin.ParamCount(); ++i)
        if (plugin.ParamName(i) == "Beats" && plugin.ParamDisplay(i) == "Binaural")
            PrintWarning("one channel with Beats \"Binaural\" holds only the first tone; "
                         "-p \"Beats=Monaural\" puts both in it");
}

// Fills `frames` frames from the reader, silence after its end; false with `error` on failure.
bool ReadBlock(AudioReader* reader, std::vector<float>& block, int frames, std::string& error)
{
    const int channels = reader->Channels();
    long long got = 0;
    while (got < frames)
    {
        const long long n = reader->Read(block.data() + got * channels, frames - got, error);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    std::fill(block.begin() + got * channels, block.begin() + static_cast<long long>(frames) * channels,
              0.0f);
    return true;
}

// A percentage that rewrites itself, only where someone watches a terminal.
class ProgressLine
{
  public:
    ProgressLine(bool wanted, long long total)
        : shown(wanted && total > 0 && StderrIsTerminal()), total(total)
    {
        Update(0);
    }
    void Update(long long done)
    {
        const int percent = shown ? static_cast<int>(100 * done / total) : -1;
        if (percent == last)
            return;
        last = percent;
        std::fprintf(stderr, "\rrendering %3d%%", percent);
        std::fflush(stderr);
    }
    // Ends the line, so what follows starts on its own.
    void End()
    {
        if (shown && last >= 0)
            std::fprintf(stderr, "\n");
        last = -1;
        shown = false;
    }

  private:
    bool shown;
    long long total;
    int last = -1;
};

int Fail(const std::string& error)
{
    std::fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 1;
}

struct Stream
{
    std::unique_ptr<AudioReader> input;
    std::unique_ptr<AudioWriter> output;
    double rate = 0.0;
    long long frames = 0;
};

// Opens the input before any plug-in work, so a problem with it shows at once; it sets the rate.
bool OpenInput(const RenderOptions& options, Stream& stream, std::string& error)
{
    stream.rate = options.sampleRate;
    if (!options.input.empty())
    {
        stream.input = OpenAudioReader(options.input, options.channels, options.sampleRate, error);
        if (!stream.input)
            return false;
        AudioReader& in = *stream.input;
        if (in.KnowsRate() && !options.rateGiven)
            stream.rate = in.Rate();
        if (in.Channels() > options.channels)
            PrintWarning("'" + options.input + "' has " + std::to_string(in.Channels()) +
                         " channels; the render uses the first " + std::to_string(options.channels));
        if (in.Rate() != stream.rate)
        {
            const double from = in.Rate();
            stream.input = ConvertRate(std::move(stream.input), stream.rate, error);
            if (!stream.input)
            {
                error = "cannot read '" + options.input + "' at " + std::to_string(std::lround(stream.rate)) +
                        " Hz: " + error;
                return false;
            }
            if (!options.quiet)
                std::fprintf(stderr, "vsthost: converting '%s' from %.0f Hz to %.0f Hz\n",
                             options.input.c_str(), from, stream.rate);
        }
    }
    return true;
}

// Opens the output (checked before anything is rendered) for `seconds`, or, when that is negative,
// for the input's length or the default.
bool OpenOutput(const RenderOptions& options, double seconds, Stream& stream, std::string& error)
{
    if (seconds < 0.0)
        seconds = stream.input ? static_cast<double>(stream.input->Frames()) / stream.rate : kDefaultSeconds;
    stream.frames = std::llround(seconds * stream.rate);
    std::string notice;
    stream.output =
        CreateAudioWriter(options.output, options.channels, stream.rate, stream.frames, notice, error);
    if (!notice.empty())
        PrintWarning(notice);
    return stream.output != nullptr;
}

std::unique_ptr<HostedInstance> PreparePlugin(const RenderOptions& options, const CommonHostOptions& host,
                                              double rate)
{
    HostSettings settings = SettingsFor(host);
    settings.sampleRate = rate;
    settings.blockSize = options.blockSize;
    settings.tempo = options.tempo;
    settings.tempoValid = options.tempo > 0.0;
    settings.playing = !options.stopped;
    auto plugin = OpenPlugin(options.module, settings);
    if (!plugin)
        return nullptr;
    if (options.channels > plugin->InputCount() || options.channels > plugin->OutputCount())
    {
        std::fprintf(stderr, "vsthost: the plug-in has %d inputs and %d outputs, fewer than %d channels\n",
                     plugin->InputCount(), plugin->OutputCount(), options.channels);
        return nullptr;
    }
    plugin->Open();
    plugin->Configure(rate, options.blockSize);
    plugin->WireChannels(options.channels);
    if (!ApplySetup(*plugin, PluginSetup{options.load, options.program, options.params}))
        return nullptr;
    WarnOfLostEar(*plugin, options.channels);
    return plugin;
}

// The gain of frame `frame` of `total` when the last `fade` frames fall to silence.
float FadeGain(long long frame, long long total, long long fade)
{
    const long long left = total - 1 - frame;
    return left >= fade || fade < 2 ? 1.0f : static_cast<float>(left) / static_cast<float>(fade - 1);
}
} // namespace

int RunRender(const RenderOptions& options, const CommonHostOptions& host)
{
    Stream stream;
    std::string error;
    if (!OpenInput(options, stream, error))
        return Fail(error);
    auto plugin = PreparePlugin(options, host, stream.rate);
    if (!plugin)
        return 1;
    Schedule schedule;
    double seconds = options.seconds;
    if (!options.schedule.empty())
    {
        if (!LoadScheduleFor(*plugin, options.schedule, schedule))
            return 1;
        if (seconds < 0.0)
            seconds = schedule.LengthSeconds();
        if (seconds > kLongestScheduleSeconds)
            return Fail("schedule '" + options.schedule + "' runs longer than 24 hours");
        if (seconds <= 0.0)
            return Fail("schedule '" + options.schedule +
                        "' sets no length: add an 'end TIME' line or give --seconds");
    }
    if (!OpenOutput(options, seconds, stream, error))
        return Fail(error);
    std::unique_ptr<ScheduleRunner> runner;
    if (!options.schedule.empty())
        runner = std::make_unique<ScheduleRunner>(*plugin, schedule, stream.rate);
    if (!plugin->Resume())
        return Fail("the plug-in did not activate");

    const int block = options.blockSize;
    const int channels = options.channels;
    BlockRenderer renderer(*plugin, channels, block);
    if (options.doublePrecision && !renderer.UsesDoublePrecision())
        PrintWarning("the plug-in has no double-precision process callback; the render uses the float one");
    const int inputChannels = stream.input ? stream.input->Channels() : 0;
    std::vector<float> in(static_cast<std::size_t>(block) *
                          static_cast<std::size_t>(std::max(inputChannels, 1)));
    std::vector<float> out(static_cast<std::size_t>(block) * static_cast<std::size_t>(channels));
    const auto started = std::chrono::steady_clock::now();

    // The preroll's output is not kept: it only lets the tone settle before the file starts.
    const long long preroll = std::llround(options.prerollSeconds * stream.rate);
    for (long long done = 0; done < preroll; done += block)
        renderer.Process(nullptr, 0, out.data(),
                         static_cast<int>(std::min<long long>(block, preroll - done)));

    const long long total = stream.frames;
    double fadeSeconds = options.fadeOutMs * 0.001;
    // Where the schedule sets the length, its end is heard as in `play`: a short fade to silence,
    // never a cut mid-wave. A length given with --seconds overrides the end, fade and all.
    if (runner && options.seconds < 0.0)
        fadeSeconds = std::max(fadeSeconds, kScheduleEndFadeSeconds);
    const long long fade = std::min(total, std::llround(fadeSeconds * stream.rate));
    ProgressLine progress(!options.quiet, total);
    int frames = 0;
    for (long long done = 0; done < total; done += frames)
    {
        frames = static_cast<int>(std::min<long long>(block, total - done));
        // A schedule ends blocks early where its steps and ramp updates fall.
        if (runner)
            frames = runner->Prepare(done, frames);
        if (stream.input && !ReadBlock(stream.input.get(), in, frames, error))
        {
            progress.End();
            return Fail(error);
        }
        renderer.Process(stream.input ? in.data() : nullptr, inputChannels, out.data(), frames);
        if (done + frames > total - fade)
            for (std::size_t i = 0, at = 0; i < static_cast<std::size_t>(frames); ++i)
            {
                const float gain = FadeGain(done + static_cast<long long>(i), total, fade);
                for (int c = 0; c < channels; ++c)
                    out[at++] *= gain;
            }
        if (!stream.output->Write(out.data(), frames, error))
        {
            progress.End();
            return Fail(error);
        }
        progress.Update(done + frames);
    }
    progress.End();
    plugin->Suspend();
    plugin->Close();
    if (!stream.output->Finish(error))
        return Fail(error);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (stream.output->ClippedSamples() > 0)
        PrintWarning(std::to_string(stream.output->ClippedSamples()) +
                     " samples beyond full scale were clipped in '" + options.output + "' (peak " +
                     PeakText(stream.output->Peak()) + ")");
    if (!options.quiet)
    {
        const double seconds = static_cast<double>(total + preroll) / stream.rate;
        std::fprintf(stderr, "rendered %.2f s, %d channel(s) at %.0f Hz to %s in %.2f s (%.0fx real time)\n",
                     static_cast<double>(total) / stream.rate, channels, stream.rate, options.output.c_str(),
                     elapsed, elapsed > 0.0 ? seconds / elapsed : 0.0);
    }
    return 0;
}
} // namespace tpm
