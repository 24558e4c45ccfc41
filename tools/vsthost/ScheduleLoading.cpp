// Reading a schedule file against the loaded plug-in's parameters and programs.
#include "tools/hostkit/ParamCatalog.h"
#include "tools/vsthost/Commands.h"

#include <cstdio>

namespace tpm
{
bool LoadScheduleFor(HostedInstance& plugin, const std::string& path, Schedule& schedule)
{
    ParamCatalog catalog(plugin);
    std::string error;
    if (!ReadScheduleFile(path, ScheduleLookupsFor(catalog), schedule, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return false;
    }
    for (const std::string& warning : schedule.warnings)
        std::fprintf(stderr, "vsthost: warning: %s\n", warning.c_str());
    return true;
}
} // namespace tpm
