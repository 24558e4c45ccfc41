#include "core/IRecursiveLock.h"

#include <new>
#include <windows.h>

static_assert(sizeof(CRITICAL_SECTION) <= 64);

namespace
{
CRITICAL_SECTION& Section(unsigned char* storage)
{
    return *std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
} // namespace

IRecursiveLock::IRecursiveLock()
{
    InitializeCriticalSection(new (storage) CRITICAL_SECTION);
}

IRecursiveLock::~IRecursiveLock()
{
    DeleteCriticalSection(&Section(storage));
}

void IRecursiveLock::Lock()
{
    EnterCriticalSection(&Section(storage));
}

void IRecursiveLock::Unlock()
{
    LeaveCriticalSection(&Section(storage));
}
