// vsthost: a small command-line VST 2.4 host that drives a plug-in module only through its
// exported entry point, for inspection and offline rendering.
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/PlayCommand.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace
{
// CLI11's ranges let NaN through (every comparison with it is false); numbers here must be finite.
const CLI::Validator kFinite(
    [](std::string& text) {
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        return end != text.c_str() && std::isfinite(v) ? std::string()
                                                       : "'" + text + "' is not a finite number";
    },
    "FINITE");

const CLI::Validator kProgramNumber(
    [](std::string& text) {
        return text.find_first_not_of("0123456789") == std::string::npos && !text.empty()
                   ? std::string()
                   : "'" + text + "' is not a program number (0 or more)";
    },
    "PROGRAM");

// --load, --program and -p, in the order they are applied.
void AddSetupOptions(CLI::App* cmd, PluginSetup& setup, const char* programHelp)
{
    cmd->add_option("--load", setup.load, "Load a .fxp or .fxb preset file first");
    cmd->add_option("--program", setup.program, programHelp)->check(kProgramNumber);
    cmd->add_option("-p,--param", setup.params,
                    "Parameter: 'Name=display text', '#index=display text' or 'index=normalised'");
}

int Run(int argc, char** argv)
{
#if defined(_WIN32)
    // Plain "\n" line ends, so the output compares equal to the native build's.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    CLI::App app{"vsthost: inspect and render through a VST 2.4 plug-in module"};
    app.require_subcommand(1);
    // "/home/..." is a path, also on Windows (under Wine), never an option; sub-commands inherit this.
    app.allow_windows_style_options(false);
    CommonHostOptions host;
    app.add_option("--host-name", host.hostName, "Product name the host reports")->capture_default_str();
    app.add_option("--host-version", host.hostVersion, "Host version as major*10000+minor*100+patch")
        ->capture_default_str();
    app.add_flag("--log-automation", host.logAutomation, "Print automation and edit messages to stderr");

    std::string infoModule;
    PluginSetup infoSetup;
    CLI::App* info = app.add_subcommand("info", "Print the effect record, parameters and programs");
    info->add_option("module", infoModule, "Plug-in module")->required();
    AddSetupOptions(info, infoSetup, "Select this program before the parameters");

    std::string paramsModule;
    CLI::App* params = app.add_subcommand("params", "List each parameter's range, unit and allowed texts");
    params->add_option("module", paramsModule, "Plug-in module")->required();

    RenderOptions render;
    CLI::App* renderCmd = app.add_subcommand("render", "Render audio through the plug-in");
    renderCmd->add_option("module", render.module, "Plug-in module")->required();
    renderCmd->add_option("-o,--output", render.output, "Output file (.wav, .flac, or raw .f32)")->required();
    renderCmd->add_option("-i,--input", render.input, "Input audio file (default: silence)");
    CLI::Option* rate =
        renderCmd
            ->add_option("-r,--rate", render.sampleRate, "Sample rate in Hz (default: the input's, or 48000)")
            ->check(kFinite & CLI::Range(1000.0, 1536000.0));
    renderCmd->add_option("-b,--block", render.blockSize, "Block size in frames")
        ->capture_default_str()
        ->check(CLI::Range(1, 1 << 20));
    renderCmd->add_option("-s,--seconds", render.seconds, "Length in seconds (default: input length, or 5)")
        ->check(kFinite & CLI::Range(0.0, 86400.0));
    renderCmd->add_option("-c,--channels", render.channels, "Channels, 1 or 2")
        ->capture_default_str()
        ->check(CLI::IsMember({1, 2}));
    renderCmd->add_option("-p,--param", render.params,
                          "Parameter: 'Name=display text', '#index=display text' or 'index=normalised'");
    renderCmd->add_option("-t,--tempo", render.tempo, "Host tempo in BPM")
        ->capture_default_str()
        ->check(kFinite & CLI::Range(0.0, 1000.0));
    renderCmd->add_flag("--stopped", render.stopped, "Report the transport as stopped (default: playing)");
    renderCmd->add_option("--program", render.program, "Select this program before the parameters")
        ->check(kProgramNumber);
    renderCmd->add_flag(
        "--double", render.doublePrecision,
        "Ask for the double-precision process callback (used anyway where the plug-in offers it)");
    renderCmd->add_flag("-q,--quiet", render.quiet, "No progress or summary lines");
    renderCmd->add_option("--load", render.load, "Load a .fxp or .fxb preset file before --program");
    renderCmd
        ->add_option("--preroll", render.prerollSeconds,
                     "Run the plug-in this many seconds before the file starts")
        ->check(kFinite & CLI::Range(0.0, 3600.0));
    renderCmd->add_option("--fade-out", render.fadeOutMs, "End the file on a fade of this many milliseconds")
        ->check(kFinite & CLI::Range(0.0, 3600000.0));
    renderCmd->add_option(
        "--schedule", render.schedule,
        "Schedule file: timed programs and parameter ramps (sets the length unless --seconds)");

    std::string programsModule, programsLoad;
    CLI::App* programs = app.add_subcommand("programs", "List every program with its index");
    programs->add_option("module", programsModule, "Plug-in module")->required();
    programs->add_option("--load", programsLoad, "Load a .fxp or .fxb preset file first");

    std::string exportModule, exportOutput;
    PluginSetup exportSetup;
    bool exportChunk = false;
    CLI::App* exportFxp = app.add_subcommand("export-fxp", "Write one program to a .fxp file");
    CLI::App* exportFxb = app.add_subcommand("export-fxb", "Write the whole bank to a .fxb file");
    for (CLI::App* cmd : {exportFxp, exportFxb})
    {
        cmd->add_option("module", exportModule, "Plug-in module")->required();
        cmd->add_option("-o,--output", exportOutput, "Output file")->required();
        cmd->add_flag("--chunk", exportChunk, "Write the state chunk, not the parameter values");
        AddSetupOptions(cmd, exportSetup, "Select this program first (default: the current one)");
    }

    EditorOptions editor;
    CLI::App* editorCmd = app.add_subcommand("editor", "Open the plug-in's editor in a window");
    editorCmd->add_option("module", editor.module, "Plug-in module")->required();
    editorCmd->add_option("--screenshot", editor.screenshot, "Save the window as PNG and exit");
    editorCmd->add_option("--after-ms", editor.afterMs, "Milliseconds before the screenshot")
        ->capture_default_str()
        ->check(CLI::Range(0, 600000));
    editorCmd->add_flag("--print-params", editor.printParams,
                        "On exit, print every parameter as 'Name=display text'");

    std::string compareA, compareB;
    double tolerance = 0.0;
    CLI::App* compare = app.add_subcommand("compare", "Compare two raw float32 files sample by sample");
    compare->add_option("a", compareA)->required();
    compare->add_option("b", compareB)->required();
    compare->add_option("--tolerance", tolerance, "Largest difference allowed")
        ->capture_default_str()
        ->check(kFinite);

    PlayOptions play;
    CLI::App* playCmd = AddPlayCommand(app, play);

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::Success& e)
    {
        return app.exit(e); // --help
    }
    catch (const CLI::ParseError& e)
    {
        std::fprintf(stderr, "vsthost: %s (see --help)\n", e.what());
        return e.get_exit_code();
    }
    if (info->parsed())
        return RunInfo(infoModule, infoSetup, host);
    if (params->parsed())
        return RunParams(paramsModule, host);
    if (renderCmd->parsed())
    {
        render.rateGiven = rate->count() > 0;
        return RunRender(render, host);
    }
    if (programs->parsed())
        return RunPrograms(programsModule, programsLoad);
    if (exportFxp->parsed() || exportFxb->parsed())
        return RunExportPreset(exportModule, exportOutput, exportFxb->parsed(), exportChunk, exportSetup);
    if (editorCmd->parsed())
        return RunEditor(editor, host);
    if (compare->parsed())
        return RunCompare(compareA, compareB, tolerance);
    if (playCmd->parsed())
        return RunPlay(play, host);
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    // Anything unexpected still ends as one line and a failure code, never as an abort.
    try
    {
        return Run(argc, argv);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vsthost: %s\n", e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "vsthost: unexpected error\n");
    }
    return 1;
}
