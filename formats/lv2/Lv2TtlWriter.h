// Writes the LV2 bundle's data (manifest.ttl, the plug-in's description and presets.ttl) from the
// product itself: its parameter table and factory programs, so the bundle cannot drift from the binary.
#pragma once

#include <ostream>

namespace tpm
{
class PluginInstance;

class Lv2TtlWriter
{
  public:
    explicit Lv2TtlWriter(PluginInstance& product) : instance(product) {}

    void WriteManifest(std::ostream& out) const;
    void WritePlugin(std::ostream& out) const;
    // Selects every factory program in turn to read its values.
    void WritePresets(std::ostream& out) const;

  private:
    void WriteControlPort(std::ostream& out, int paramIdx) const;
    void WriteOutputPorts(std::ostream& out) const;
    void WriteUi(std::ostream& out) const;

    PluginInstance& instance;
};
} // namespace tpm
