#include "formats/clap/ClapPresetProvider.h"

#include "plugin/PluginInstance.h"
#include "plugin/ProductInfo.h"

#include <cstdio>
#include <new>
#include <string_view>

namespace tpm
{
namespace
{
constexpr char kProviderId[] = "org.twinpulsetonemix.twinpulsetonemix.factory";

const clap_preset_discovery_provider_descriptor_t kDescriptor = {
    kClapVersion, kProviderId, "twinPulseToneMix factory programs", product::kVendor};
} // namespace

const clap_preset_discovery_factory_t ClapPresetProvider::kFactory = {&Count, &Descriptor, &CreateProvider};

ClapPresetProvider::ClapPresetProvider(const clap_preset_discovery_indexer_t* newIndexer)
    : provider{&kDescriptor, this, &Init, &Destroy, &GetMetadata, &GetExtension}, indexer(newIndexer)
{
}

ClapPresetProvider* ClapPresetProvider::Self(const clap_preset_discovery_provider_t* p)
{
    return p ? static_cast<ClapPresetProvider*>(p->provider_data) : nullptr;
}

uint32_t ClapPresetProvider::Count(const clap_preset_discovery_factory_t* factory)
{
    return factory ? 1 : 0;
}

const clap_preset_discovery_provider_descriptor_t*
ClapPresetProvider::Descriptor(const clap_preset_discovery_factory_t* factory, uint32_t index)
{
    return factory && index == 0 ? &kDescriptor : nullptr;
}

const clap_preset_discovery_provider_t*
ClapPresetProvider::CreateProvider(const clap_preset_discovery_factory_t* factory,
                                   const clap_preset_discovery_indexer_t* indexer, const char* id)
{
    if (!factory || !indexer || !id || std::string_view(id) != kProviderId)
        return nullptr;
    auto* self = new (std::nothrow) ClapPresetProvider(indexer);
    return self ? &self->provider : nullptr;
}

bool ClapPresetProvider::Init(const clap_preset_discovery_provider_t* p)
{
    ClapPresetProvider* self = Self(p);
    if (!self || !self->indexer->declare_location)
        return false;
    const clap_preset_discovery_location_t location{kClapPresetDiscoveryIsFactoryContent, "Factory programs",
                                                    kClapPresetDiscoveryLocationPlugin, nullptr};
    return self->indexer->declare_location(self->indexer, &location);
}

void ClapPresetProvider::Destroy(const clap_preset_discovery_provider_t* p)
{
    delete Self(p);
}

bool ClapPresetProvider::GetMetadata(const clap_preset_discovery_provider_t* p, uint32_t kind,
                                     const char* location,
                                     const clap_preset_discovery_metadata_receiver_t* receiver)
{
    (void)location;
    if (!Self(p) || kind != kClapPresetDiscoveryLocationPlugin || !receiver || !receiver->begin_preset)
        return false;
    // The names come from an instance's bank, the one place they are kept.
    const std::unique_ptr<PluginInstance> bank = PluginInstance::Create();
    if (!bank)
        return false;
    const clap_universal_plugin_id_t pluginId{"clap", product::kId};
    for (int i = 0; i < bank->Programs().Count(); ++i)
    {
        if (!bank->Programs().InUse(i))
            continue;
        char key[16];
        std::snprintf(key, sizeof key, "%d", i);
        if (!receiver->begin_preset(receiver, bank->Programs().NameUtf8(i).c_str(), key))
            break;
        if (receiver->add_plugin_id)
            receiver->add_plugin_id(receiver, &pluginId);
        if (receiver->set_flags)
            receiver->set_flags(receiver, kClapPresetDiscoveryIsFactoryContent);
    }
    return true;
}

const void* ClapPresetProvider::GetExtension(const clap_preset_discovery_provider_t* p, const char* id)
{
    (void)p;
    (void)id;
    return nullptr;
}
} // namespace tpm
