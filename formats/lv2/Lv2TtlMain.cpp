// Writes the LV2 bundle's TTL files into the folder given, at build time.
#include "formats/lv2/Lv2TtlWriter.h"
#include "plugin/PluginInstance.h"
#include "plugin/ProductInfo.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

using namespace tpm;

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s BUNDLE_FOLDER\n", argv[0]);
        return 2;
    }
    std::unique_ptr<PluginInstance> product = PluginInstance::Create();
    if (!product)
        return 1;
    const Lv2TtlWriter writer(*product);
    const std::string folder = argv[1];
    const auto write = [&folder](const std::string& name, const std::function<void(std::ostream&)>& body) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        body(out);
        out.close();
        if (!out)
            std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
        return static_cast<bool>(out);
    };
    const bool ok =
        write("manifest.ttl", [&](std::ostream& o) { writer.WriteManifest(o); }) &&
        write(std::string(product::kName) + ".ttl", [&](std::ostream& o) { writer.WritePlugin(o); }) &&
        write("presets.ttl", [&](std::ostream& o) { writer.WritePresets(o); });
    return ok ? 0 : 1;
}
