#include "tools/hostkit/HostPlatform.h"
#include "tools/hostkit/ModuleLibrary.h"

#include <windows.h>

namespace tpm
{
std::unique_ptr<ModuleLibrary> ModuleLibrary::Open(const std::string& path, std::string& error,
                                                   const char* entryName)
{
    // A full path: a bare name means the file in the current folder, not one on the search path,
    // and the module's own folder is searched for the libraries it needs.
    const std::wstring name = WideFilePath(path);
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(name.c_str(), sizeof full / sizeof full[0], full, nullptr);
    const std::wstring resolved =
        length > 0 && length < sizeof full / sizeof full[0] ? std::wstring(full, length) : name;
    HMODULE handle = LoadLibraryExW(resolved.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!handle)
    {
        const DWORD code = GetLastError();
        const DWORD attributes = GetFileAttributesW(resolved.c_str());
        error =
            "cannot load module '" + path + "': " +
            (attributes == INVALID_FILE_ATTRIBUTES ? std::string("no such file")
             : code == ERROR_BAD_EXE_FORMAT        ? std::string("not a 64-bit Windows module")
             // The file exists, so what is "not found" is the module in it or a DLL it needs.
             : code == ERROR_MOD_NOT_FOUND ? std::string("not a Windows module, or a DLL it needs is missing")
                                           : WindowsErrorText(code));
        return nullptr;
    }
    FARPROC symbol = GetProcAddress(handle, entryName ? entryName : "VSTPluginMain");
    if (!symbol && !entryName)
        symbol = GetProcAddress(handle, "main");
    if (!symbol)
    {
        FreeLibrary(handle);
        error = "module '" + path + "' exports " +
                (entryName ? "no " + std::string(entryName) : std::string("neither VSTPluginMain nor main"));
        return nullptr;
    }
    std::unique_ptr<ModuleLibrary> library(new ModuleLibrary);
    library->handle = handle;
    library->symbol = reinterpret_cast<void*>(symbol);
    library->entry = entryName ? nullptr : reinterpret_cast<VstEntryProc>(library->symbol);
    return library;
}

void* ModuleLibrary::Symbol(const char* name) const
{
    return handle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name)) : nullptr;
}

ModuleLibrary::~ModuleLibrary()
{
    if (handle)
        FreeLibrary(static_cast<HMODULE>(handle));
}
} // namespace tpm
