// A loaded VST3 module: the bundle's binary for this platform (or a bare module file), its entry
// function called once after loading (ModuleEntry on Linux, InitDll on Windows) and its exit
// function before letting it go, and the plug-in factory it offers. Instances share it; the last one
// gone releases the factory and unloads the module.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "tools/hostkit/ModuleLibrary.h"

#include <memory>
#include <string>

namespace tpm
{
class Vst3Module
{
  public:
    // Null with a one-line reason in `error` when the path is no usable VST3 bundle or module.
    static std::shared_ptr<Vst3Module> Load(const std::string& path, std::string& error);
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    vst3::IPluginFactory* Factory() const { return factory; }
    // The factory's newer faces, null where it has none (each holds a reference until unload).
    vst3::IPluginFactory2* Factory2() const { return factory2; }

    // Whether a path names a VST3 module: a .vst3 bundle or file, or the binary inside a bundle.
    static bool IsVst3Path(const std::string& path);
    // The binary to load for `path`: inside a bundle the platform's one, else the path itself.
    static std::string BinaryPath(const std::string& path);

  private:
    Vst3Module() = default;
    std::unique_ptr<ModuleLibrary> library;
    bool entered = false;
    vst3::IPluginFactory* factory = nullptr;
    vst3::IPluginFactory2* factory2 = nullptr;
};
} // namespace tpm
