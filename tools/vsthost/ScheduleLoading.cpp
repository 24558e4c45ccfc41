// Reading a schedule file against the loaded plug-in's parameters and programs.
#include "tools/hostkit/ParamCatalog.h"
#include "tools/vsthost/Commands.h"

#include <cctype>
#include <cstdio>

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

bool LoadScheduleFor(HostedPlugin& plugin, const std::string& path, Schedule& schedule)
{
    ScheduleLookups lookups;
    lookups.programCount = plugin.Effect()->numPrograms;
    // One catalog for the whole file: a list's texts are asked of the plug-in once, not once a line.
    ParamCatalog catalog(plugin);
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
    std::string error;
    if (!ReadScheduleFile(path, lookups, schedule, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return false;
    }
    for (const std::string& warning : schedule.warnings)
        std::fprintf(stderr, "vsthost: warning: %s\n", warning.c_str());
    return true;
}
