// vsthost info: what a host learns about a plug-in before using it, after an optional setup.
#include "tools/vsthost/Commands.h"

#include <cstdio>

namespace tpm
{
int RunInfo(const std::string& module, const PluginSetup& setup, const CommonHostOptions& host)
{
    auto plugin = OpenPlugin(module, SettingsFor(host));
    if (!plugin)
        return 1;
    plugin->Open();
    if (!ApplySetup(*plugin, setup))
        return 1;
    for (const std::string& line : plugin->DescribeIdentity())
        std::printf("%s\n", line.c_str());
    std::printf("\n# index name | label | display | normalised\n");
    for (int i = 0; i < plugin->ParamCount(); ++i)
        std::printf("param %2d %s | %s | %s | %.6f\n", i, plugin->ParamName(i).c_str(),
                    plugin->ParamLabel(i).c_str(), plugin->ParamDisplay(i).c_str(),
                    plugin->ParamNormalized(i));
    std::printf("\n# index name\n");
    for (int i = 0; i < plugin->ProgramCount(); ++i)
        std::printf("program %3d %s\n", i, plugin->ProgramName(i).c_str());
    return 0;
}
} // namespace tpm
