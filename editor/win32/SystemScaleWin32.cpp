// The system's scale on Windows: the DPI of the monitor the foreground window is on, for a
// per-monitor aware process (96 dots an inch is 1x), else the screen's.
#include "editor/IWindowLayer.h"

#include <windows.h>

namespace tpm
{

double SystemEditorScale()
{
    constexpr double kBaseDpi = 96.0;
    // GetDpiForWindow is Windows 10's; older systems (and Wine's older versions) only have the screen's.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    const auto dpiForWindow =
        user
            ? reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
            : nullptr;
    const HWND window = GetForegroundWindow();
    if (dpiForWindow && window)
        if (const UINT dpi = dpiForWindow(window); dpi > 0)
            return dpi / kBaseDpi;
    UINT dpi = 0;
    if (const HDC screen = GetDC(nullptr))
    {
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi / kBaseDpi : 1.0;
}

} // namespace tpm
