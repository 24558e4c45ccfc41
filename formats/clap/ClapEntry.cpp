// The module's one export, clap_entry: the plug-in factory with its one plug-in, and the preset
// discovery factory for the factory programs.
#include "formats/clap/ClapPlugin.h"
#include "formats/clap/ClapPresetProvider.h"

#include <atomic>
#include <string_view>

namespace tpm
{
namespace
{
// init and deinit come in pairs, possibly more than once; the factories answer in between.
std::atomic<int> initCount{0};

uint32_t PluginCount(const clap_plugin_factory_t* factory)
{
    return factory ? 1 : 0;
}

const clap_plugin_descriptor_t* PluginDescriptor(const clap_plugin_factory_t* factory, uint32_t index)
{
    return factory && index == 0 ? &ClapPlugin::kDescriptor : nullptr;
}

const clap_plugin_t* CreatePlugin(const clap_plugin_factory_t* factory, const clap_host_t* host,
                                  const char* id)
{
    if (!factory || !id || std::string_view(id) != ClapPlugin::kDescriptor.id || initCount.load() <= 0 ||
        !host || !clap_version_is_compatible(host->clap_version))
        return nullptr;
    return ClapPlugin::Create(host);
}

const clap_plugin_factory_t kPluginFactory = {&PluginCount, &PluginDescriptor, &CreatePlugin};

bool EntryInit(const char* path)
{
    (void)path;
    initCount.fetch_add(1);
    return true;
}

void EntryDeinit()
{
    int count = initCount.load();
    while (count > 0 && !initCount.compare_exchange_weak(count, count - 1))
    {
    }
}

const void* GetFactory(const char* id)
{
    if (!id || initCount.load() <= 0)
        return nullptr;
    const std::string_view wanted(id);
    if (wanted == kClapPluginFactoryId)
        return &kPluginFactory;
    if (wanted == kClapPresetDiscoveryFactoryId || wanted == kClapPresetDiscoveryFactoryIdCompat)
        return &ClapPresetProvider::kFactory;
    return nullptr;
}
} // namespace
} // namespace tpm

using namespace tpm;

extern "C" {
extern const clap_plugin_entry_t clap_entry;
const clap_plugin_entry_t clap_entry = {kClapVersion, &EntryInit, &EntryDeinit, &GetFactory};
}
