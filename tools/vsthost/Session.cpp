// Opening a module and preparing it the way the sub-commands share.
#include "tools/vsthost/Commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::unique_ptr<Vst2HostedPlugin> OpenModule(const std::string& module, const HostSettings& settings)
{
    const std::string format = HostedFormatOf(module);
    if (format != "VST2")
    {
        std::fprintf(stderr, "vsthost: '%s' is a %s module; this command works with VST2 modules only\n",
                     module.c_str(), format.c_str());
        return nullptr;
    }
    std::string error;
    auto plugin = Vst2HostedPlugin::Load(module, error, settings);
    if (!plugin)
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
    return plugin;
}

std::unique_ptr<HostedInstance> OpenPlugin(const std::string& module, const HostSettings& settings)
{
    std::string error;
    auto plugin = OpenHostedInstance(module, error, settings);
    if (!plugin)
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
    return plugin;
}

Vst2HostedPlugin* Vst2Only(HostedInstance& plugin, const std::string& what)
{
    Vst2HostedPlugin* vst2 = plugin.Vst2();
    if (!vst2)
        std::fprintf(stderr, "vsthost: %s work with VST2 modules only\n", what.c_str());
    return vst2;
}

HostSettings SettingsFor(const CommonHostOptions& host)
{
    HostSettings settings;
    settings.productName = host.hostName;
    settings.vendorVersion = host.hostVersion;
    settings.logToStderr = host.logAutomation;
    settings.recordCalls = false;
    return settings;
}

void PrintWarning(const std::string& warning)
{
    if (!warning.empty())
        std::fprintf(stderr, "vsthost: warning: %s\n", warning.c_str());
}

std::string PeakText(float peak)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f dBFS", 20.0 * std::log10(std::max(peak, 1e-9f)));
    return text;
}

bool ApplySetup(HostedInstance& plugin, const PluginSetup& setup)
{
    if (!setup.load.empty())
    {
        Vst2HostedPlugin* vst2 = Vst2Only(plugin, ".fxp and .fxb files");
        if (!vst2 || !LoadPresetFileInto(*vst2, setup.load))
            return false;
    }
    if (setup.program >= 0)
    {
        const int programs = plugin.ProgramCount();
        if (setup.program >= programs)
        {
            std::fprintf(stderr, "vsthost: program %d does not exist (the plug-in has %d, 0 to %d)\n",
                         setup.program, programs, programs - 1);
            return false;
        }
        if (!plugin.SelectProgram(setup.program))
        {
            std::fprintf(stderr, "vsthost: the plug-in did not load program %d\n", setup.program);
            return false;
        }
    }
    for (const std::string& assignment : setup.params)
    {
        std::string error, warning;
        if (!ApplyParamAssignment(plugin, assignment, error, &warning))
        {
            std::fprintf(stderr, "vsthost: %s\n", error.c_str());
            return false;
        }
        PrintWarning(warning);
    }
    return true;
}
