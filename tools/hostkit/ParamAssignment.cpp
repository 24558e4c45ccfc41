#include "tools/hostkit/ParamAssignment.h"

#include "tools/hostkit/ParamCatalog.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tpm
{
namespace
{
// Steps of the normalised range tried when listing a parameter's texts: finer than any list a
// plug-in offers a host to scroll through.
constexpr int kListSweepSteps = 1024;

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// A whole text that is one number, optionally followed by the parameter's unit ("200 Hz").
bool ParseNumber(const std::string& text, const std::string& unit, double& value)
{
    const std::string trimmed = Trim(text);
    char* end = nullptr;
    value = std::strtod(trimmed.c_str(), &end);
    if (trimmed.empty() || end == trimmed.c_str())
        return false;
    const std::string rest = Trim(end);
    return rest.empty() || (!unit.empty() && LowerCase(rest) == LowerCase(unit));
}

bool ParseIndex(const std::string& text, int count, int& index)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        return false;
    index = std::atoi(text.c_str());
    return index < count;
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::string all;
    for (const std::string& t : texts)
        all += (all.empty() ? "" : ", ") + t;
    return all;
}

std::string FormatNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The resolved setting and, for a value given as text, the text that sets it exactly.
struct Resolution
{
    ParamSetting setting;
    std::string text;
};

double NormalizedOfText(HostedInstance& spare, int index, const std::string& text)
{
    spare.SetParamText(index, text);
    return spare.ParamNormalized(index);
}

bool ResolveText(ParamCatalog& catalog, int index, const std::string& key, const std::string& value,
                 Resolution& out, std::string& error)
{
    HostedInstance* spare = catalog.Plugin().Spare();
    if (!spare)
    {
        error = "the plug-in refused a second instance to check '" + key + "' against";
        return false;
    }
    const ParamDescription& d = catalog.Describe(index);
    out.setting.index = index;
    if (d.isList)
    {
        const std::string wanted = LowerCase(Trim(value));
        for (const std::string& text : d.texts)
            if (LowerCase(text) == wanted)
            {
                out.text = text;
                out.setting.normalized = catalog.ListValue(index, text);
                return true;
            }
        error = "'" + key + "' has no value '" + value + "'; it takes " + Joined(d.texts);
        return false;
    }
    double number = 0.0;
    if (!ParseNumber(value, d.label, number))
    {
        error = "'" + key + "=" + value + "': '" + value + "' is not a number";
        return false;
    }
    if (!std::isfinite(number))
    {
        error = "'" + key + "=" + value + "': the value must be a finite number";
        return false;
    }
    out.text = FormatNumber(number);
    if (number < d.min || number > d.max)
    {
        const bool below = number < d.min;
        out.text = below ? d.lowest : d.highest;
        out.setting.warning = "'" + key + "=" + value + "' is " + (below ? "below" : "above") +
                              " the range " + DescribeRange(d) + "; using " + out.text;
    }
    out.setting.normalized = NormalizedOfText(*spare, index, out.text);
    return true;
}

bool Resolve(ParamCatalog& catalog, const std::string& assignment, Resolution& out, std::string& error)
{
    out = Resolution{};
    const std::size_t eq = assignment.find('=');
    const std::string key = eq == std::string::npos ? "" : Trim(assignment.substr(0, eq));
    if (key.empty())
    {
        error = "parameter '" + assignment + "' is not of the form name=value";
        return false;
    }
    const std::string value = assignment.substr(eq + 1);
    const int count = catalog.Count();
    int index = -1;
    if (key[0] == '#')
    {
        if (!ParseIndex(key.substr(1), count, index))
        {
            error = "no parameter with index '" + key.substr(1) + "' (the plug-in has " +
                    std::to_string(count) + ")";
            return false;
        }
        return ResolveText(catalog, index, key, value, out, error);
    }
    if (ParseIndex(key, count, index))
    {
        char* end = nullptr;
        const double normalized = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(normalized >= 0.0 && normalized <= 1.0))
        {
            error = "value '" + value + "' for parameter " + key + " is not a normalised value 0..1";
            return false;
        }
        out.setting.index = index;
        out.setting.normalized = normalized;
        return true;
    }
    const std::vector<int> matches = catalog.IndicesNamed(key);
    if (matches.empty())
    {
        error = "no parameter named '" + key + "'";
        return false;
    }
    if (matches.size() > 1)
    {
        error = "'" + key + "' names " + std::to_string(matches.size()) + " parameters: write";
        for (std::size_t m = 0; m < matches.size(); ++m)
            error += std::string(m == 0 ? "" : " or") + " '#" + std::to_string(matches[m]) + "=" + value +
                     "' (" + DescribeRange(catalog.Describe(matches[m]), true) + ")";
        return false;
    }
    return ResolveText(catalog, matches.front(), key, value, out, error);
}
} // namespace

// Where the plug-in states its range, the texts come from its own values, without changing any.
ParamDescription DescribeRanged(HostedInstance& plugin, int index, const ParamRange& range)
{
    ParamDescription d;
    d.name = plugin.ParamName(index);
    d.label = plugin.ParamLabel(index);
    d.min = range.min;
    d.max = range.max;
    d.isList = range.isList;
    // A number's ends without the unit, which the description adds once.
    auto bare = [&d](std::string text) {
        if (!d.label.empty() && text.size() > d.label.size() &&
            text.compare(text.size() - d.label.size(), d.label.size(), d.label) == 0)
            text = Trim(text.substr(0, text.size() - d.label.size()));
        return text;
    };
    d.lowest = bare(plugin.DisplayOfValue(index, range.min));
    d.highest = bare(plugin.DisplayOfValue(index, range.max));
    for (double v = range.min; d.isList && v <= range.max; v += 1.0)
        d.texts.push_back(plugin.DisplayOfValue(index, v));
    return d;
}

ParamDescription DescribeParam(HostedInstance& plugin, int index)
{
    ParamRange range;
    if (plugin.Range(index, range))
        return DescribeRanged(plugin, index, range);
    ParamDescription d;
    HostedInstance* spare = plugin.Spare();
    HostedInstance& asked = spare ? *spare : plugin;
    d.name = asked.ParamName(index);
    d.label = asked.ParamLabel(index);
    const double before = asked.ParamNormalized(index);
    asked.SetParamNormalized(index, 0.0);
    d.lowest = asked.ParamDisplay(index);
    asked.SetParamNormalized(index, 1.0);
    d.highest = asked.ParamDisplay(index);
    const bool numeric = ParseNumber(d.lowest, "", d.min) && ParseNumber(d.highest, "", d.max);
    d.isList = !numeric;
    if (d.isList)
        for (int step = 0; step <= kListSweepSteps; ++step)
        {
            asked.SetParamNormalized(index, static_cast<float>(step) / kListSweepSteps);
            std::string text = asked.ParamDisplay(index);
            if (d.texts.empty() || d.texts.back() != text)
                d.texts.push_back(std::move(text));
        }
    asked.SetParamNormalized(index, before);
    return d;
}

std::string DescribeRange(const ParamDescription& d, bool brief)
{
    if (d.isList && brief && d.texts.size() > 4)
        return "one of " + std::to_string(d.texts.size()) + " texts, " + d.texts.front() + " to " +
               d.texts.back();
    if (d.isList)
        return Joined(d.texts);
    return d.lowest + " to " + d.highest + (d.label.empty() ? "" : " " + d.label);
}

bool ResolveParamAssignment(ParamCatalog& catalog, const std::string& assignment, ParamSetting& out,
                            std::string& error)
{
    Resolution resolution;
    if (!Resolve(catalog, assignment, resolution, error))
        return false;
    out = resolution.setting;
    return true;
}

bool ApplyParamAssignment(HostedInstance& plugin, const std::string& assignment, std::string& error,
                          std::string* warning)
{
    Resolution resolution;
    ParamCatalog catalog(plugin);
    if (!Resolve(catalog, assignment, resolution, error))
        return false;
    if (warning)
        *warning = resolution.setting.warning;
    const int index = resolution.setting.index;
    // A text sets the value exactly as the plug-in reads it; a normalised value goes as it is.
    if (!resolution.text.empty())
    {
        if (plugin.SetParamText(index, resolution.text))
            return true;
        error = "the plug-in refused '" + assignment + "'";
        return false;
    }
    plugin.SetParamNormalized(index, resolution.setting.normalized);
    return true;
}
} // namespace tpm
