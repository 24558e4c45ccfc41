#include "tools/hostkit/ModuleLibrary.h"

#include <dlfcn.h>

namespace tpm
{
std::unique_ptr<ModuleLibrary> ModuleLibrary::Open(const std::string& path, std::string& error,
                                                   const char* entryName)
{
    // A name without a folder means the file here, not a library on the loader's search path.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
    {
        // dlerror() names the file itself first; the message names it once.
        const char* text = dlerror();
        std::string reason = text ? text : "unknown error";
        if (reason.compare(0, file.size() + 2, file + ": ") == 0)
            reason.erase(0, file.size() + 2);
        error = "cannot load module '" + path + "': " + reason;
        return nullptr;
    }
    void* symbol = dlsym(handle, entryName ? entryName : "VSTPluginMain");
    if (!symbol && !entryName)
        symbol = dlsym(handle, "main");
    if (!symbol)
    {
        dlclose(handle);
        error = "module '" + path + "' exports " +
                (entryName ? "no " + std::string(entryName) : std::string("neither VSTPluginMain nor main"));
        return nullptr;
    }
    std::unique_ptr<ModuleLibrary> library(new ModuleLibrary);
    library->handle = handle;
    library->entry = entryName ? nullptr : reinterpret_cast<VstEntryProc>(symbol);
    library->symbol = symbol;
    return library;
}

void* ModuleLibrary::Symbol(const char* name) const
{
    return handle ? dlsym(handle, name) : nullptr;
}

ModuleLibrary::~ModuleLibrary()
{
    if (handle)
        dlclose(handle);
}
} // namespace tpm
