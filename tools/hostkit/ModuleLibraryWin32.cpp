#include "tools/hostkit/ModuleLibrary.h"

#include <windows.h>

std::unique_ptr<ModuleLibrary> ModuleLibrary::Open(const std::string& path, std::string& error)
{
    HMODULE handle = LoadLibraryA(path.c_str());
    if (!handle)
    {
        error = "cannot load module '" + path + "': error " + std::to_string(GetLastError());
        return nullptr;
    }
    FARPROC symbol = GetProcAddress(handle, "VSTPluginMain");
    if (!symbol)
        symbol = GetProcAddress(handle, "main");
    if (!symbol)
    {
        FreeLibrary(handle);
        error = "module '" + path + "' exports neither VSTPluginMain nor main";
        return nullptr;
    }
    std::unique_ptr<ModuleLibrary> library(new ModuleLibrary);
    library->handle = handle;
    library->entry = reinterpret_cast<VstEntryProc>(reinterpret_cast<void*>(symbol));
    return library;
}

ModuleLibrary::~ModuleLibrary()
{
    if (handle)
        FreeLibrary(static_cast<HMODULE>(handle));
}
