#include "tools/hostkit/ParamCatalog.h"

#include <cctype>

namespace tpm
{
namespace
{
bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

std::string LowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

ParamCatalog::ParamCatalog(HostedInstance& plugin) : plugin(plugin)
{
    const int count = plugin.ParamCount();
    for (int i = 0; i < count; ++i)
        lowerNames.push_back(LowerCase(plugin.ParamName(i)));
    descriptions.resize(lowerNames.size());
}

std::vector<int> ParamCatalog::IndicesNamed(const std::string& name) const
{
    const std::string wanted = LowerCase(name);
    std::vector<int> matches;
    for (std::size_t i = 0; i < lowerNames.size(); ++i)
        if (lowerNames[i] == wanted)
            matches.push_back(static_cast<int>(i));
    return matches;
}

const ParamDescription& ParamCatalog::Describe(int index)
{
    std::unique_ptr<ParamDescription>& kept = descriptions.at(static_cast<std::size_t>(index));
    if (!kept)
        kept = std::make_unique<ParamDescription>(DescribeParam(plugin, index));
    return *kept;
}

double ParamCatalog::ListValue(int index, const std::string& text)
{
    const auto key = std::make_pair(index, text);
    if (const auto found = listValues.find(key); found != listValues.end())
        return found->second;
    // Asked of the spare instance, so the one in use keeps its value.
    HostedInstance& asked = plugin.Spare() ? *plugin.Spare() : plugin;
    asked.SetParamText(index, text);
    const double value = asked.ParamNormalized(index);
    listValues.emplace(key, value);
    return value;
}

ScheduleLookups ScheduleLookupsFor(ParamCatalog& catalog)
{
    ScheduleLookups lookups;
    HostedInstance& plugin = catalog.Plugin();
    lookups.programCount = plugin.ProgramCount();
    lookups.resolveParam = [&catalog](const std::string& assignment, ParamSetting& setting,
                                      std::string& error) {
        return ResolveParamAssignment(catalog, assignment, setting, error);
    };
    lookups.isParamName = [&catalog](const std::string& name) { return !catalog.IndicesNamed(name).empty(); };
    // An exact name wins; otherwise the first name that differs only in case.
    lookups.findProgram = [&plugin, count = lookups.programCount](const std::string& name) {
        int loose = -1;
        for (int i = 0; i < count; ++i)
        {
            const std::string candidate = plugin.ProgramName(i);
            if (candidate == name)
                return i;
            if (loose < 0 && SameIgnoringCase(candidate, name))
                loose = i;
        }
        return loose;
    };
    return lookups;
}
} // namespace tpm
