// The presets a CLAP module declares through its preset discovery factory, as a host's browser
// indexes them: each provider is asked for its locations, and each location for the presets in it.
// Presets inside the module and preset files are both read; folders are not crawled.
#pragma once

#include "formats/clap/ClapAbi.h"

#include <string>
#include <vector>

namespace tpm
{
class ClapPresetIndex
{
  public:
    struct Preset
    {
        std::string name;
        std::string loadKey;
        uint32_t kind = kClapPresetDiscoveryLocationPlugin;
        std::string location; // empty for presets inside the module
    };

    // Every preset the factory's providers offer for `pluginId` (or for no plug-in in particular).
    static std::vector<Preset> Collect(const clap_preset_discovery_factory_t* factory,
                                       const std::string& pluginId);

  private:
    struct Location
    {
        uint32_t kind = 0;
        std::string location;
    };
    struct Crawl
    {
        std::string pluginId;
        std::vector<Location> locations;
        std::vector<Preset> presets;
        Location current;
        bool currentMatches = true; // no plug-in id named yet, or ours among them
        bool currentNamedAny = false;
    };

    static bool DeclareFiletype(const clap_preset_discovery_indexer_t*,
                                const clap_preset_discovery_filetype_t*);
    static bool DeclareLocation(const clap_preset_discovery_indexer_t* indexer,
                                const clap_preset_discovery_location_t* location);
    static bool DeclareSoundpack(const clap_preset_discovery_indexer_t*,
                                 const clap_preset_discovery_soundpack_t*);
    static const void* IndexerExtension(const clap_preset_discovery_indexer_t*, const char*);
    static bool BeginPreset(const clap_preset_discovery_metadata_receiver_t* receiver, const char* name,
                            const char* loadKey);
    static void AddPluginId(const clap_preset_discovery_metadata_receiver_t* receiver,
                            const clap_universal_plugin_id_t* id);
    static void Finish(Crawl& crawl);
};
} // namespace tpm
