// vsthost params: each parameter with what it accepts, so a -p setting can be written without guessing.
#include "tools/vsthost/Commands.h"

#include <cstdio>
#include <map>

namespace tpm
{
int RunParams(const std::string& module, const CommonHostOptions& host)
{
    auto plugin = OpenPlugin(module, SettingsFor(host));
    if (!plugin)
        return 1;
    plugin->Open();
    const int count = plugin->ParamCount();
    std::map<std::string, int> uses;
    for (int i = 0; i < count; ++i)
        ++uses[plugin->ParamName(i)];
    std::printf("# index | name | unit | accepts | now\n");
    for (int i = 0; i < count; ++i)
    {
        const ParamDescription d = DescribeParam(*plugin, i);
        // A name used twice (or not at all) is reached by its index only.
        const std::string reach =
            uses[d.name] > 1 || d.name.empty() ? " (set as #" + std::to_string(i) + ")" : "";
        std::printf("%2d | %s%s | %s | %s%s | %s\n", i, d.name.c_str(), reach.c_str(), d.label.c_str(),
                    d.isList ? "one of: " : "", DescribeRange(d).c_str(), plugin->ParamDisplay(i).c_str());
    }
    return 0;
}
} // namespace tpm
