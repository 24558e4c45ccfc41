#include "tools/hostkit/ClapModule.h"

#include <filesystem>

namespace tpm
{
std::shared_ptr<ClapModule> ClapModule::Load(const std::string& path, std::string& error)
{
    auto library = ModuleLibrary::Open(path, error, kClapEntrySymbol);
    if (!library)
        return nullptr;
    const auto* entry = static_cast<const clap_plugin_entry_t*>(library->EntrySymbol());
    if (!clap_version_is_compatible(entry->clap_version) || !entry->init || !entry->deinit ||
        !entry->get_factory)
    {
        error = "module '" + path + "' has a clap_entry of an incompatible CLAP version";
        return nullptr;
    }
    // The plug-in may look for files beside itself, so it is told where it is in full.
    std::error_code failed;
    const std::string full = std::filesystem::absolute(path, failed).string();
    if (!entry->init(failed ? path.c_str() : full.c_str()))
    {
        error = "module '" + path + "': clap_entry.init failed";
        return nullptr;
    }
    std::shared_ptr<ClapModule> module(new ClapModule);
    module->library = std::move(library);
    module->entry = entry;
    module->pluginFactory =
        static_cast<const clap_plugin_factory_t*>(entry->get_factory(kClapPluginFactoryId));
    if (!module->pluginFactory || module->pluginFactory->get_plugin_count(module->pluginFactory) == 0)
    {
        error = "module '" + path + "' offers no CLAP plug-in";
        return nullptr;
    }
    return module;
}

ClapModule::~ClapModule()
{
    if (entry)
        entry->deinit();
}

const clap_preset_discovery_factory_t* ClapModule::PresetFactory() const
{
    const void* factory = entry->get_factory(kClapPresetDiscoveryFactoryId);
    if (!factory)
        factory = entry->get_factory(kClapPresetDiscoveryFactoryIdCompat);
    return static_cast<const clap_preset_discovery_factory_t*>(factory);
}
} // namespace tpm
