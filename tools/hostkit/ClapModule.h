// A loaded CLAP module: the file, its clap_entry initialised once, and the factories it offers.
// Instances share it; the entry is deinitialised and the file let go when the last one is gone.
#pragma once

#include "formats/clap/ClapAbi.h"
#include "tools/hostkit/ModuleLibrary.h"

#include <memory>
#include <string>

namespace tpm
{
class ClapModule
{
  public:
    // Null with a one-line reason in `error` when the file is no usable CLAP module.
    static std::shared_ptr<ClapModule> Load(const std::string& path, std::string& error);
    ~ClapModule();
    ClapModule(const ClapModule&) = delete;
    ClapModule& operator=(const ClapModule&) = delete;

    const clap_plugin_factory_t* PluginFactory() const { return pluginFactory; }
    // The preset discovery factory under its current id or the draft one; null when there is none.
    const clap_preset_discovery_factory_t* PresetFactory() const;

  private:
    ClapModule() = default;
    std::unique_ptr<ModuleLibrary> library;
    const clap_plugin_entry_t* entry = nullptr;
    const clap_plugin_factory_t* pluginFactory = nullptr;
};
} // namespace tpm
