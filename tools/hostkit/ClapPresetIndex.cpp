#include "tools/hostkit/ClapPresetIndex.h"

#include <cstring>

namespace tpm
{
namespace
{
void OnError(const clap_preset_discovery_metadata_receiver_t*, int32_t, const char*) {}
void SetSoundpack(const clap_preset_discovery_metadata_receiver_t*, const char*) {}
void SetFlags(const clap_preset_discovery_metadata_receiver_t*, uint32_t) {}
void AddText(const clap_preset_discovery_metadata_receiver_t*, const char*) {}
void SetTimestamps(const clap_preset_discovery_metadata_receiver_t*, clap_timestamp, clap_timestamp) {}
void AddExtraInfo(const clap_preset_discovery_metadata_receiver_t*, const char*, const char*) {}
} // namespace

std::vector<ClapPresetIndex::Preset> ClapPresetIndex::Collect(const clap_preset_discovery_factory_t* factory,
                                                              const std::string& pluginId)
{
    Crawl crawl;
    crawl.pluginId = pluginId;
    if (!factory)
        return {};
    clap_preset_discovery_indexer_t indexer{};
    indexer.clap_version = kClapVersion;
    indexer.name = "vsthost";
    indexer.vendor = "";
    indexer.url = "";
    indexer.version = "";
    indexer.indexer_data = &crawl;
    indexer.declare_filetype = &ClapPresetIndex::DeclareFiletype;
    indexer.declare_location = &ClapPresetIndex::DeclareLocation;
    indexer.declare_soundpack = &ClapPresetIndex::DeclareSoundpack;
    indexer.get_extension = &ClapPresetIndex::IndexerExtension;

    clap_preset_discovery_metadata_receiver_t receiver{};
    receiver.receiver_data = &crawl;
    receiver.on_error = &OnError;
    receiver.begin_preset = &ClapPresetIndex::BeginPreset;
    receiver.add_plugin_id = &ClapPresetIndex::AddPluginId;
    receiver.set_soundpack_id = &SetSoundpack;
    receiver.set_flags = &SetFlags;
    receiver.add_creator = &AddText;
    receiver.set_description = &AddText;
    receiver.set_timestamps = &SetTimestamps;
    receiver.add_feature = &AddText;
    receiver.add_extra_info = &AddExtraInfo;

    const uint32_t providers = factory->count(factory);
    for (uint32_t p = 0; p < providers; ++p)
    {
        const clap_preset_discovery_provider_descriptor_t* descriptor = factory->get_descriptor(factory, p);
        if (!descriptor || !descriptor->id)
            continue;
        const clap_preset_discovery_provider_t* provider = factory->create(factory, &indexer, descriptor->id);
        if (!provider)
            continue;
        crawl.locations.clear();
        if (provider->init(provider))
            for (const Location& location : crawl.locations)
            {
                crawl.current = location;
                provider->get_metadata(
                    provider, location.kind,
                    location.kind == kClapPresetDiscoveryLocationPlugin ? nullptr : location.location.c_str(),
                    &receiver);
                Finish(crawl);
            }
        provider->destroy(provider);
    }
    return crawl.presets;
}

bool ClapPresetIndex::DeclareFiletype(const clap_preset_discovery_indexer_t*,
                                      const clap_preset_discovery_filetype_t* filetype)
{
    return filetype != nullptr;
}

bool ClapPresetIndex::DeclareLocation(const clap_preset_discovery_indexer_t* indexer,
                                      const clap_preset_discovery_location_t* location)
{
    auto& crawl = *static_cast<Crawl*>(indexer->indexer_data);
    if (!location)
        return false;
    if (location->kind == kClapPresetDiscoveryLocationPlugin)
        crawl.locations.push_back(Location{location->kind, ""});
    else if (location->kind == kClapPresetDiscoveryLocationFile && location->location)
        crawl.locations.push_back(Location{location->kind, location->location});
    else
        return false;
    return true;
}

bool ClapPresetIndex::DeclareSoundpack(const clap_preset_discovery_indexer_t*,
                                       const clap_preset_discovery_soundpack_t* soundpack)
{
    return soundpack != nullptr;
}

const void* ClapPresetIndex::IndexerExtension(const clap_preset_discovery_indexer_t*, const char*)
{
    return nullptr;
}

bool ClapPresetIndex::BeginPreset(const clap_preset_discovery_metadata_receiver_t* receiver, const char* name,
                                  const char* loadKey)
{
    auto& crawl = *static_cast<Crawl*>(receiver->receiver_data);
    Finish(crawl);
    Preset preset;
    preset.name = name ? name : "";
    preset.loadKey = loadKey ? loadKey : "";
    preset.kind = crawl.current.kind;
    preset.location = crawl.current.location;
    crawl.presets.push_back(preset);
    crawl.currentMatches = true;
    crawl.currentNamedAny = false;
    return true;
}

void ClapPresetIndex::AddPluginId(const clap_preset_discovery_metadata_receiver_t* receiver,
                                  const clap_universal_plugin_id_t* id)
{
    auto& crawl = *static_cast<Crawl*>(receiver->receiver_data);
    if (!id || !id->abi || !id->id || crawl.presets.empty())
        return;
    const bool ours = std::strcmp(id->abi, "clap") == 0 && crawl.pluginId == id->id;
    crawl.currentMatches = crawl.currentNamedAny ? crawl.currentMatches || ours : ours;
    crawl.currentNamedAny = true;
}

// A preset that named plug-ins, none of them ours, is not one of ours.
void ClapPresetIndex::Finish(Crawl& crawl)
{
    if (!crawl.presets.empty() && !crawl.currentMatches)
        crawl.presets.pop_back();
    crawl.currentMatches = true;
    crawl.currentNamedAny = false;
}
} // namespace tpm
