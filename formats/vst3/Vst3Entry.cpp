// The module's exports: GetPluginFactory everywhere, ModuleEntry and ModuleExit for Linux hosts,
// InitDll and ExitDll for Windows hosts. The entry and exit calls come in pairs and may nest; the
// factory answers whether or not a host made them.
#include "formats/vst3/Vst3Factory.h"

#include <atomic>

namespace tpm
{
namespace
{
std::atomic<int> entryCount{0};

bool Enter()
{
    entryCount.fetch_add(1);
    return true;
}

bool Leave()
{
    int count = entryCount.load();
    while (count > 0 && !entryCount.compare_exchange_weak(count, count - 1))
    {
    }
    return count > 0;
}
} // namespace
} // namespace tpm

using namespace tpm;

extern "C" {
vst3::IPluginFactory* GetPluginFactory();
bool ModuleEntry(void* sharedLibraryHandle);
bool ModuleExit();
bool InitDll();
bool ExitDll();

vst3::IPluginFactory* GetPluginFactory()
{
    return Vst3Factory::Get();
}

bool ModuleEntry(void* sharedLibraryHandle)
{
    (void)sharedLibraryHandle;
    return Enter();
}

bool ModuleExit()
{
    return Leave();
}

bool InitDll()
{
    return Enter();
}

bool ExitDll()
{
    return Leave();
}
}
