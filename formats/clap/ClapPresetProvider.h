// The factory programs as CLAP preset discovery sees them: one location inside the plug-in, one
// preset per filled program slot, loaded again through preset-load with the slot number as key.
#pragma once

#include "formats/clap/ClapAbi.h"

namespace tpm
{
class ClapPresetProvider
{
  public:
    static const clap_preset_discovery_factory_t kFactory;

  private:
    explicit ClapPresetProvider(const clap_preset_discovery_indexer_t* indexer);
    static ClapPresetProvider* Self(const clap_preset_discovery_provider_t* provider);

    static uint32_t Count(const clap_preset_discovery_factory_t* factory);
    static const clap_preset_discovery_provider_descriptor_t*
    Descriptor(const clap_preset_discovery_factory_t* factory, uint32_t index);
    static const clap_preset_discovery_provider_t*
    CreateProvider(const clap_preset_discovery_factory_t* factory,
                   const clap_preset_discovery_indexer_t* indexer, const char* id);
    static bool Init(const clap_preset_discovery_provider_t* provider);
    static void Destroy(const clap_preset_discovery_provider_t* provider);
    static bool GetMetadata(const clap_preset_discovery_provider_t* provider, uint32_t kind,
                            const char* location, const clap_preset_discovery_metadata_receiver_t* receiver);
    static const void* GetExtension(const clap_preset_discovery_provider_t* provider, const char* id);

    clap_preset_discovery_provider_t provider;
    const clap_preset_discovery_indexer_t* indexer;
};
} // namespace tpm
