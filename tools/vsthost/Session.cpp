// Opening a module and setting its parameters the way the sub-commands share.
#include "tools/vsthost/Commands.h"

#include <cstdio>
#include <cstdlib>

std::unique_ptr<HostedPlugin> OpenModule(const std::string& module, const HostSettings& settings)
{
    std::string error;
    auto plugin = HostedPlugin::Load(module, error, settings);
    if (!plugin)
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
    return plugin;
}

bool ApplyParamAssignment(HostedPlugin& plugin, const std::string& assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
    {
        error = "parameter '" + assignment + "' is not of the form name=value";
        return false;
    }
    const std::string key = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    const int count = plugin.Effect()->numParams;
    auto parseIndex = [&](const std::string& text, int& index) {
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || n < 0 || n >= count)
            return false;
        index = static_cast<int>(n);
        return true;
    };
    int index = -1;
    if (key[0] == '#')
    {
        if (!parseIndex(key.substr(1), index))
        {
            error = "no parameter with index '" + key.substr(1) + "'";
            return false;
        }
        return plugin.SetParamText(index, value);
    }
    if (parseIndex(key, index))
    {
        char* end = nullptr;
        const double normalized = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(normalized >= 0.0 && normalized <= 1.0))
        {
            error = "value '" + value + "' for parameter " + key + " is not a normalised value 0..1";
            return false;
        }
        plugin.Effect()->setParameter(plugin.Effect(), index, static_cast<float>(normalized));
        return true;
    }
    index = plugin.FindParam(key);
    if (index < 0)
    {
        error = "no parameter named '" + key + "'";
        return false;
    }
    return plugin.SetParamText(index, value);
}
