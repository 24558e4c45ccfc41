// The editor's window class "IEffectWndClass": registered when the first editor window of the process
// opens and unregistered when the last one closes, under this module's own instance handle.
#pragma once

#include <windows.h>

namespace tpm
{

class WindowClassWin32
{
  public:
    static constexpr const char* kName = "IEffectWndClass";

    // The module (DLL or program) this code is linked into, found without DllMain.
    static HINSTANCE Module();
    // Counts one more open window and registers the class on the first; false (count unchanged) when
    // the class cannot be registered.
    static bool Acquire(WNDPROC procedure);
    // Counts one window less and unregisters the class after the last.
    static void Release();
    // Open windows counted now (for tests).
    static int OpenCount();
};

} // namespace tpm
