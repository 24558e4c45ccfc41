#include "editor/win32/WindowClassWin32.h"

#include <mutex>

namespace tpm
{

namespace
{
std::mutex countMutex;
int openCount = 0;
} // namespace

HINSTANCE WindowClassWin32::Module()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&WindowClassWin32::Module), &module);
    return module;
}

bool WindowClassWin32::Acquire(WNDPROC procedure)
{
    std::lock_guard<std::mutex> lock(countMutex);
    if (openCount == 0)
    {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = procedure;
        wc.hInstance = Module();
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
        wc.lpszClassName = kName;
        // A class left behind by a window the system destroyed under us is still ours to use.
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    ++openCount;
    return true;
}

void WindowClassWin32::Release()
{
    std::lock_guard<std::mutex> lock(countMutex);
    if (openCount > 0 && --openCount == 0)
        UnregisterClassA(kName, Module());
}

int WindowClassWin32::OpenCount()
{
    std::lock_guard<std::mutex> lock(countMutex);
    return openCount;
}

} // namespace tpm
