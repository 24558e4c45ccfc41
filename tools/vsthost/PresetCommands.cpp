// vsthost's sub-commands for programs and preset files.
#include "tools/hostkit/PresetExchange.h"
#include "tools/vsthost/Commands.h"

#include <cstdio>

namespace tpm
{
bool LoadPresetFileInto(HostedInstance& plugin, const std::string& path)
{
    PresetFile file;
    std::string error;
    if (!PresetFile::Load(path, file, error) || !ApplyPreset(plugin, file, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return false;
    }
    return true;
}

namespace
{
std::unique_ptr<HostedInstance> OpenWithSetup(const std::string& module, const PluginSetup& setup)
{
    auto plugin = OpenPlugin(module, SettingsFor(CommonHostOptions{}));
    if (!plugin)
        return nullptr;
    plugin->Open();
    if (!ApplySetup(*plugin, setup))
        return nullptr;
    return plugin;
}
} // namespace

int RunPrograms(const std::string& module, const std::string& load)
{
    auto plugin = OpenWithSetup(module, PluginSetup{load, -1, {}});
    if (!plugin)
        return 1;
    for (int i = 0; i < plugin->ProgramCount(); ++i)
        std::printf("%3d %s\n", i, plugin->ProgramName(i).c_str());
    return 0;
}

int RunExportPreset(const std::string& module, const std::string& output, bool bank, bool chunk,
                    const PluginSetup& setup)
{
    auto plugin = OpenWithSetup(module, setup);
    if (!plugin)
        return 1;
    const PresetFile::Kind kind =
        bank ? (chunk ? PresetFile::Kind::BankChunk : PresetFile::Kind::BankParams)
             : (chunk ? PresetFile::Kind::ProgramChunk : PresetFile::Kind::ProgramParams);
    PresetFile file;
    std::string error;
    // The setup has selected the program already, so the current one is what is written.
    if (!CapturePreset(*plugin, kind, -1, file, error) || !file.Save(output, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
} // namespace tpm
