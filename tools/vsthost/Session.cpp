// Opening a module and preparing it the way the sub-commands share.
#include "tools/vsthost/Commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tpm
{
std::unique_ptr<HostedInstance> OpenPlugin(const std::string& module, const HostSettings& settings)
{
    std::string error;
    auto plugin = OpenHostedInstance(module, error, settings);
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

bool ApplySetup(HostedInstance& plugin, const PluginSetup& setup)
{
    if (!setup.load.empty())
    {
        if (!LoadPresetFileInto(plugin, setup.load))
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
} // namespace tpm
