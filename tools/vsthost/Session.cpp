// Opening a module and preparing it the way the sub-commands share.
#include "tools/vsthost/Commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::unique_ptr<HostedPlugin> OpenModule(const std::string& module, const HostSettings& settings)
{
    std::string error;
    auto plugin = HostedPlugin::Load(module, error, settings);
    if (!plugin)
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
    return plugin;
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

bool ApplySetup(HostedPlugin& plugin, const PluginSetup& setup)
{
    if (!setup.load.empty() && !LoadPresetFileInto(plugin, setup.load))
        return false;
    AEffect* e = plugin.Effect();
    if (setup.program >= 0)
    {
        if (setup.program >= e->numPrograms)
        {
            std::fprintf(stderr, "vsthost: program %d does not exist (the plug-in has %d, 0 to %d)\n",
                         setup.program, e->numPrograms, e->numPrograms - 1);
            return false;
        }
        plugin.Dispatch(vst::effSetProgram, 0, setup.program);
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
