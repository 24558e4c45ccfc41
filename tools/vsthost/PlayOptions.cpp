// The command line of `vsthost play`, the same in every build.
#include "tools/vsthost/PlayCommand.h"

#include <CLI/CLI.hpp>

namespace tpm
{
CLI::App* AddPlayCommand(CLI::App& app, PlayOptions& options)
{
    CLI::App* play =
        app.add_subcommand("play", "Play the plug-in live through the audio device, with its editor");
    play->add_option("module", options.module, "Plug-in module")->type_name("MODULE");
    play->add_flag("--list-devices", options.listDevices, "List the audio devices and stop");
    play->add_option("--device", options.device, "Audio device by name or index (default: the system's)")
        ->type_name("DEVICE");
    play->add_option("--rate", options.rate, "Sample rate, 8000 to 384000 Hz (default: the device's)")
        ->check(CLI::Range(8000U, 384000U))
        ->type_name("HZ");
    play->add_option("--buffer", options.bufferFrames, "Buffer size in frames, 16 to 8192")
        ->capture_default_str()
        ->check(CLI::Range(16U, 8192U))
        ->type_name("FRAMES");
    play->add_option("-t,--tempo", options.tempo, "Host tempo, 1 to 1000 BPM; the transport plays")
        ->capture_default_str()
        ->check(CLI::Range(1.0, 1000.0))
        ->type_name("BPM");
    play->add_option("-p,--param", options.params,
                     "Parameter: 'Name=display text', '#index=display text' or 'index=normalised'")
        ->type_name("NAME=VALUE");
    play->add_option("--program", options.program, "Select this program before the parameters")
        ->type_name("N");
    play->add_option("--load", options.load, "Load a .fxp or .fxb preset file before --program")
        ->type_name("FILE");
    CLI::Option* input =
        play->add_option("-i,--input", options.input, "Input audio file, looped (default: silence)")
            ->type_name("FILE");
    play->add_flag("--live-input", options.liveInput, "Feed the device's input through the plug-in")
        ->excludes(input);
    play->add_option("--sleep", options.sleepMinutes,
                     "Stop after this many minutes, fading out over the last 30 s")
        ->check(CLI::Range(0.0, 1440.0))
        ->type_name("MINUTES");
    play->add_option("--schedule", options.schedule,
                     "Schedule file: timed programs and parameter ramps; playback ends with it")
        ->type_name("FILE");
    play->add_flag("--no-editor", options.noEditor, "Play from the terminal, without the editor window");
    play->add_option("--scale", options.scale, "Draw the editor at this scale, 1 to 3")
        ->check(CLI::Range(1.0, 3.0))
        ->type_name("S");
    return play;
}
} // namespace tpm
