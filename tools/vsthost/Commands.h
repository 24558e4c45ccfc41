// The host tool's sub-commands. Each answers the process exit code; errors are one line on stderr.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/ParamAssignment.h"
#include "tools/hostkit/Schedule.h"

#include <string>
#include <vector>

namespace tpm
{
class HostWindow;

struct RenderOptions
{
    std::string module;
    std::string output;
    std::string input;
    double sampleRate = 48000.0;
    bool rateGiven = false; // without --rate an input file's own rate is used
    int blockSize = 512;
    double seconds = -1.0; // < 0: the input's length, or 5 s of silence
    int channels = 2;
    std::vector<std::string> params;
    double tempo = 120.0;
    bool stopped = false;
    int program = -1;
    std::string load; // .fxp or .fxb applied before the program and parameters
    bool doublePrecision = false;
    bool quiet = false;
    double prerollSeconds = 0.0; // processed before the first written sample
    double fadeOutMs = 0.0;      // the file's end fades to silence over this time
    std::string schedule;        // schedule file: timed programs and parameter ramps
};

struct CommonHostOptions
{
    std::string hostName = "vsthost";
    int hostVersion = 10000;
    bool logAutomation = false;
};

struct EditorOptions
{
    std::string module;
    std::string screenshot;    // empty: stay open until the window is closed
    int afterMs = 500;         // how long the editor runs before the screenshot
    bool printParams = false;  // every parameter as "name=display text" once the editor has closed
    bool reportWindow = false; // "READY ..." and "SCREENSHOT ..." lines on stdout for scripts
    double scale = 0.0;        // the editor's scale as the host gives it (0: the plug-in's choice)
};

// What comes before a plug-in is used: a preset file, a program, then parameter settings.
struct PluginSetup
{
    std::string load;
    int program = -1;
    std::vector<std::string> params;
};

int RunInfo(const std::string& module, const PluginSetup& setup, const CommonHostOptions& host);
int RunParams(const std::string& module, const CommonHostOptions& host);
int RunRender(const RenderOptions& options, const CommonHostOptions& host);
int RunEditor(const EditorOptions& options, const CommonHostOptions& host);
// After OpenEditor: the window takes the size an editor told only once open; width and height follow.
bool FitToEditor(HostedInstance& plugin, HostWindow& window, int& width, int& height);
// After FitToEditor: the user may resize the window, between the editor's size at 1x and 3x of its
// size at the scale given (0: 1), at its aspect ratio.
void AllowEditorResize(HostWindow& window, int width, int height, double scale);
// In the window loop: a size the user dragged the window to goes to the editor, and the window
// takes the size the editor took (back to the old one where the editor cannot be resized).
void FollowUserResize(HostedInstance& plugin, HostWindow& window);
int RunCompare(const std::string& a, const std::string& b, double tolerance);

// Loads a module with the host settings, for any format the tool hosts: a .clap file as CLAP, a .vst3
// bundle as VST3, a .lv2 bundle as LV2, anything else as VST2; prints the error and answers null.
std::unique_ptr<HostedInstance> OpenPlugin(const std::string& module, const HostSettings& settings);
HostSettings SettingsFor(const CommonHostOptions& host);
// Applies the setup to an opened plug-in; prints warnings, and the error, answering false, on failure.
bool ApplySetup(HostedInstance& plugin, const PluginSetup& setup);
void PrintWarning(const std::string& warning);
// A sample magnitude as "+6.0 dBFS", as the clipping reports give the peak.
std::string PeakText(float peak);
// Reads a schedule against the plug-in; prints the error (file:line:column) and answers false.
bool LoadScheduleFor(HostedInstance& plugin, const std::string& path, Schedule& schedule);

// Loads a .fxp or .fxb file into the plug-in; prints a one-line error and answers false on failure.
bool LoadPresetFileInto(HostedInstance& plugin, const std::string& path);
int RunPrograms(const std::string& module, const std::string& load);
int RunExportPreset(const std::string& module, const std::string& output, bool bank, bool chunk,
                    const PluginSetup& setup);
} // namespace tpm
