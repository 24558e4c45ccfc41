// Handles, GDI and USER objects, and the editor child's window class, read through the Win32 API.
#include "support/EditorProbe.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

namespace tpm
{
namespace editorprobe
{

int OpenHandles()
{
    HANDLE self = GetCurrentProcess();
    DWORD handles = 0;
    GetProcessHandleCount(self, &handles);
    // Wine answers 0 for all three; Windows counts them.
    return static_cast<int>(handles + GetGuiResources(self, GR_GDIOBJECTS) +
                            GetGuiResources(self, GR_USEROBJECTS));
}

long long MemoryInUse()
{
    // The commit charge; Wine fills this one (not PrivateUsage).
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<long long>(counters.PagefileUsage);
}

WindowClass EditorWindowClass(void* parent)
{
    HWND child = GetWindow(static_cast<HWND>(parent), GW_CHILD);
    if (!child)
        return {};
    char name[256] = {};
    GetClassNameA(child, name, sizeof name);
    return {name, reinterpret_cast<void*>(GetClassLongPtrA(child, GCLP_HMODULE))};
}

bool IsRegistered(const WindowClass& windowClass)
{
    WNDCLASSA info{};
    return !windowClass.name.empty() &&
           GetClassInfoA(static_cast<HINSTANCE>(windowClass.module), windowClass.name.c_str(), &info) != 0;
}

} // namespace editorprobe
} // namespace tpm
