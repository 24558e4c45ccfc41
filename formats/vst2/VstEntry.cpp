// The module's exported entry points: VSTPluginMain, and main for older hosts.
#include "formats/vst2/Vst2Effect.h"
#include "plugin/PluginInstance.h"

#include <mutex>
#include <new>

namespace tpm
{
namespace
{
// Made on the first call and kept for the life of the module: instances are built one at a time.
// Building one never calls the host, so the entry is never taken again from inside.
std::mutex& EntryLock()
{
    static std::mutex entryLock;
    return entryLock;
}
} // namespace

#if defined(_WIN32)
#define TPM_EXPORT extern "C" __declspec(dllexport)
#else
#define TPM_EXPORT extern "C" __attribute__((visibility("default")))
#endif
} // namespace tpm

using namespace tpm;

TPM_EXPORT AEffect* VSTPluginMain(audioMasterCallback host)
{
    const std::lock_guard<std::mutex> guard(EntryLock());
    try
    {
        return Vst2Effect::Create(host, PluginInstance::Create());
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

#if !defined(_WIN32)
// Older Linux hosts look for "main"; the Windows module exports the alias through its .def file.
TPM_EXPORT AEffect* VSTPluginMainAlias(audioMasterCallback host) __asm__("main");
AEffect* VSTPluginMainAlias(audioMasterCallback host)
{
    return VSTPluginMain(host);
}
#endif
