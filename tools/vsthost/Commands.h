// The host tool's sub-commands. Each answers the process exit code; errors are one line on stderr.
#pragma once

#include "tools/hostkit/HostedPlugin.h"
#include "tools/hostkit/Schedule.h"

#include <string>
#include <vector>

struct RenderOptions
{
    std::string module;
    std::string output;
    std::string input;
    double sampleRate = 48000.0;
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
    std::string schedule; // schedule file: timed programs and parameter ramps
};

struct CommonHostOptions
{
    std::string hostName = "vsthost";
    int hostVersion = 10000;
    bool logAutomation = false;
};

int RunInfo(const std::string& module, const CommonHostOptions& host);
int RunRender(const RenderOptions& options, const CommonHostOptions& host);
int RunCompare(const std::string& a, const std::string& b, double tolerance);

// Loads and opens a module with the host settings; prints the error and answers null on failure.
std::unique_ptr<HostedPlugin> OpenModule(const std::string& module, const HostSettings& settings);
// Applies "name=display text", "#index=display text" or "index=normalised"; false with a message.
bool ApplyParamAssignment(HostedPlugin& plugin, const std::string& assignment, std::string& error);
// The same forms and checks, resolved into a setting without changing the plug-in.
bool ResolveParamAssignment(HostedPlugin& plugin, const std::string& assignment, ParamSetting& setting,
                            std::string& error);
// Reads a schedule against the plug-in; prints the error (file:line:column) and answers false.
bool LoadScheduleFor(HostedPlugin& plugin, const std::string& path, Schedule& schedule);

// Loads a .fxp or .fxb file into the plug-in; prints a one-line error and answers false on failure.
bool LoadPresetFileInto(HostedPlugin& plugin, const std::string& path);
int RunPrograms(const std::string& module, const std::string& load);
int RunExportPreset(const std::string& module, const std::string& output, bool bank, bool chunk, int program,
                    const std::string& load);
