#include "draw/ResourceStore.h"

#include <windows.h>

namespace tpm
{

std::span<const uint8_t> FindPngResource(int id)
{
    // The resources live in whichever module holds this code: the plug-in DLL, or a test program that
    // links the library statically and carries its own copy of the resource script.
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&FindPngResource), &module))
        return {};
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
    if (!info)
        return {};
    const DWORD size = SizeofResource(module, info);
    HGLOBAL handle = LoadResource(module, info);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data || size == 0)
        return {};
    return {static_cast<const uint8_t*>(data), size};
}

} // namespace tpm
