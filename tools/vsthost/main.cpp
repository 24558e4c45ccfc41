// vsthost: a small command-line host for VST 2.4, CLAP and VST3 plug-in modules (a .clap file is hosted
// as CLAP, a .vst3 bundle as VST3) that drives a module only through its exported entry points, for
// inspection and rendering.
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/HelpFormatter.h"
#include "tools/vsthost/PlayCommand.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <memory>
#if defined(_WIN32)
#include "tools/hostkit/HostPlatform.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>
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
    cmd->add_option("--load", setup.load, "Load a .fxp or .fxb preset file first")->type_name("FILE");
    cmd->add_option("--program", setup.program, programHelp)->check(kProgramNumber)->type_name("N");
    cmd->add_option("-p,--param", setup.params,
                    "Parameter: 'Name=display text', '#index=display text' or 'index=normalised'")
        ->type_name("NAME=VALUE");
}

int Run(int argc, const char* const* argv)
{
#if defined(_WIN32)
    // Plain "\n" line ends, so the output compares equal to the native build's.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    CLI::App app{"vsthost: inspect and render through a VST 2.4, CLAP or VST3 plug-in module"};
    // Before the sub-commands, which take the formatter they are created with.
    app.formatter(std::make_shared<HelpFormatter>());
    app.require_subcommand(1);
    // "/home/..." is a path, also on Windows (under Wine), never an option; sub-commands inherit this.
    app.allow_windows_style_options(false);
    CommonHostOptions host;
    app.add_option("--host-name", host.hostName, "Product name the host reports")
        ->capture_default_str()
        ->type_name("NAME");
    app.add_option("--host-version", host.hostVersion, "Host version as major*10000+minor*100+patch")
        ->capture_default_str()
        ->type_name("N");
    app.add_flag("--log-automation", host.logAutomation, "Print automation and edit messages to stderr");

    std::string infoModule;
    PluginSetup infoSetup;
    CLI::App* info = app.add_subcommand("info", "Print the effect record, parameters and programs");
    info->add_option("module", infoModule, "Plug-in module")->required()->type_name("MODULE");
    AddSetupOptions(info, infoSetup, "Select this program before the parameters");

    std::string paramsModule;
    CLI::App* params = app.add_subcommand("params", "List each parameter's range, unit and allowed texts");
    params->add_option("module", paramsModule, "Plug-in module")->required()->type_name("MODULE");

    RenderOptions render;
    CLI::App* renderCmd = app.add_subcommand("render", "Render audio through the plug-in");
    renderCmd->add_option("module", render.module, "Plug-in module")->required()->type_name("MODULE");
    renderCmd->add_option("-o,--output", render.output, "Output file (.wav, .flac, or raw .f32)")
        ->required()
        ->type_name("FILE");
    renderCmd->add_option("-i,--input", render.input, "Input audio file (default: silence)")
        ->type_name("FILE");
    CLI::Option* rate = renderCmd
                            ->add_option("-r,--rate", render.sampleRate,
                                         "Sample rate, 1000 to 1536000 Hz (default: the input's, or 48000)")
                            ->check(kFinite & CLI::Range(1000.0, 1536000.0))
                            ->type_name("HZ");
    renderCmd->add_option("-b,--block", render.blockSize, "Block size in frames, up to 1048576")
        ->capture_default_str()
        ->check(CLI::Range(1, 1 << 20))
        ->type_name("FRAMES");
    renderCmd
        ->add_option("-s,--seconds", render.seconds, "Length, up to 86400 s (default: input length, or 5)")
        ->check(kFinite & CLI::Range(0.0, 86400.0))
        ->type_name("SECONDS");
    renderCmd->add_option("-c,--channels", render.channels, "Channels, 1 or 2")
        ->capture_default_str()
        ->check(CLI::IsMember({1, 2}))
        ->type_name("1|2");
    renderCmd
        ->add_option("-p,--param", render.params,
                     "Parameter: 'Name=display text', '#index=display text' or 'index=normalised'")
        ->type_name("NAME=VALUE");
    renderCmd->add_option("-t,--tempo", render.tempo, "Host tempo, 0 to 1000 BPM")
        ->capture_default_str()
        ->check(kFinite & CLI::Range(0.0, 1000.0))
        ->type_name("BPM");
    renderCmd->add_flag("--stopped", render.stopped, "Report the transport as stopped (default: playing)");
    renderCmd->add_option("--program", render.program, "Select this program before the parameters")
        ->check(kProgramNumber)
        ->type_name("N");
    renderCmd->add_flag(
        "--double", render.doublePrecision,
        "Ask for the double-precision process callback (used anyway where the plug-in offers it)");
    renderCmd->add_flag("-q,--quiet", render.quiet, "No progress or summary lines");
    renderCmd->add_option("--load", render.load, "Load a .fxp or .fxb preset file before --program")
        ->type_name("FILE");
    renderCmd
        ->add_option("--preroll", render.prerollSeconds,
                     "Run the plug-in this long (up to 3600 s) before the file starts")
        ->check(kFinite & CLI::Range(0.0, 3600.0))
        ->type_name("SECONDS");
    renderCmd->add_option("--fade-out", render.fadeOutMs, "End the file on a fade this long (up to an hour)")
        ->check(kFinite & CLI::Range(0.0, 3600000.0))
        ->type_name("MS");
    renderCmd
        ->add_option("--schedule", render.schedule,
                     "Schedule file: timed programs and parameter ramps (sets the length unless --seconds)")
        ->type_name("FILE");

    std::string programsModule, programsLoad;
    CLI::App* programs = app.add_subcommand("programs", "List every program with its index");
    programs->add_option("module", programsModule, "Plug-in module")->required()->type_name("MODULE");
    programs->add_option("--load", programsLoad, "Load a .fxp or .fxb preset file first")->type_name("FILE");

    std::string exportModule, exportOutput;
    PluginSetup exportSetup;
    bool exportChunk = false;
    CLI::App* exportFxp = app.add_subcommand("export-fxp", "Write one program to a .fxp file");
    CLI::App* exportFxb = app.add_subcommand("export-fxb", "Write the whole bank to a .fxb file");
    for (CLI::App* cmd : {exportFxp, exportFxb})
    {
        cmd->add_option("module", exportModule, "Plug-in module")->required()->type_name("MODULE");
        cmd->add_option("-o,--output", exportOutput, "Output file")->required()->type_name("FILE");
        cmd->add_flag("--chunk", exportChunk, "Write the state chunk, not the parameter values");
        AddSetupOptions(cmd, exportSetup, "Select this program first (default: the current one)");
    }

    EditorOptions editor;
    CLI::App* editorCmd = app.add_subcommand("editor", "Open the plug-in's editor in a window");
    editorCmd->add_option("module", editor.module, "Plug-in module")->required()->type_name("MODULE");
    editorCmd->add_option("--screenshot", editor.screenshot, "Save the window as PNG and exit")
        ->type_name("FILE");
    editorCmd->add_option("--after-ms", editor.afterMs, "Wait this long before the screenshot (up to 600000)")
        ->capture_default_str()
        ->check(CLI::Range(0, 600000))
        ->type_name("MS");
    // For scripts that drive the window: "READY x y width height" once it is open, "SCREENSHOT file"
    // once saved. Not in the help: people see the window itself.
    editorCmd->add_flag("--report-window", editor.reportWindow)->group("");
    editorCmd->add_flag("--print-params", editor.printParams,
                        "On exit, print every parameter as 'Name=display text'");

    std::string compareA, compareB;
    double tolerance = 0.0;
    CLI::App* compare = app.add_subcommand("compare", "Compare two raw float32 files sample by sample");
    compare->add_option("a", compareA, "First file")->required()->type_name("FILE");
    compare->add_option("b", compareB, "Second file")->required()->type_name("FILE");
    compare->add_option("--tolerance", tolerance, "Largest difference allowed")
        ->capture_default_str()
        ->check(kFinite)
        ->type_name("NUMBER");

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

#if defined(_WIN32)
// The command line as the system holds it, in UTF-16, turned into UTF-8: the narrow arguments
// would lose every character outside the ANSI code page ("C:\Users\田中" would read "C:\Users\??").
std::vector<std::string> WideArguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count))
    {
        for (int i = 0; i < count; ++i)
            arguments.push_back(Utf8FromWide(wide[i]));
        LocalFree(static_cast<HLOCAL>(wide));
    }
    return arguments;
}
#endif
} // namespace

int main(int argc, char** argv)
{
    // Anything unexpected still ends as one line and a failure code, never as an abort.
    try
    {
#if defined(_WIN32)
        const std::vector<std::string> arguments = WideArguments();
        if (!arguments.empty())
        {
            std::vector<const char*> pointers;
            for (const std::string& argument : arguments)
                pointers.push_back(argument.c_str());
            return Run(static_cast<int>(pointers.size()), pointers.data());
        }
#endif
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
