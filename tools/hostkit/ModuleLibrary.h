// A loaded plug-in module (shared object or DLL) and the lookup of its entry point.
#pragma once

#include "formats/vst2/VstAbi.h"

#include <memory>
#include <string>

namespace tpm
{
using VstEntryProc = AEffect* (*)(audioMasterCallback host);

class ModuleLibrary
{
  public:
    // Null with a one-line reason in `error` when the file cannot be loaded or has no entry point:
    // `entryName`, or for VST2 modules (null) VSTPluginMain or main.
    static std::unique_ptr<ModuleLibrary> Open(const std::string& path, std::string& error,
                                               const char* entryName = nullptr);
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    VstEntryProc Entry() const { return entry; }
    void* EntrySymbol() const { return symbol; } // what `entryName` named
    // Another exported symbol, null when there is none.
    void* Symbol(const char* name) const;
    // What the system loader returned (dlopen's handle, or the HMODULE).
    void* Handle() const { return handle; }

  private:
    ModuleLibrary() = default;
    void* handle = nullptr;
    VstEntryProc entry = nullptr;
    void* symbol = nullptr;
};
} // namespace tpm
