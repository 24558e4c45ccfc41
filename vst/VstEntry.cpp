// The module's exported entry points: VSTPluginMain, and main for older hosts.
#include "core/IRecursiveLock.h"
#include "plugin/VSTCLASS.h"

#include <new>

namespace
{
// Made on the first call and kept for the life of the module: instances are built one at a time.
IRecursiveLock& EntryLock()
{
    static IRecursiveLock entryLock;
    return entryLock;
}
} // namespace

#if defined(_WIN32)
#define TPM_EXPORT extern "C" __declspec(dllexport)
#else
#define TPM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

TPM_EXPORT AEffect* VSTPluginMain(audioMasterCallback host)
{
    ILockGuard guard(EntryLock());
    VSTCLASS* plug = nullptr;
    try
    {
        plug = new VSTCLASS(host);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    plug->EnsureOnePreset();
    AEffect* effect = plug->GetEffect();
    if (effect->numPrograms < 1)
        effect->numPrograms = 1;
    return effect;
}

#if !defined(_WIN32)
// Older Linux hosts look for "main"; the Windows module exports the alias through its .def file.
TPM_EXPORT AEffect* VSTPluginMainAlias(audioMasterCallback host) __asm__("main");
AEffect* VSTPluginMainAlias(audioMasterCallback host)
{
    return VSTPluginMain(host);
}
#endif
