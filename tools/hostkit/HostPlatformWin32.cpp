#include "tools/hostkit/HostPlatform.h"

#include <io.h>
#include <stdio.h>
#include <windows.h>

namespace
{
using DosNameProc = WCHAR*(CDECL*)(const char*);

// Wine's kernel32 exports the conversion it uses itself; on Windows it does not exist.
DosNameProc WineDosName()
{
    static const DosNameProc proc = [] {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        FARPROC found = kernel ? GetProcAddress(kernel, "wine_get_dos_file_name") : nullptr;
        return reinterpret_cast<DosNameProc>(reinterpret_cast<void*>(found));
    }();
    return proc;
}
} // namespace

std::string SystemFilePath(const std::string& path)
{
    const DosNameProc toDos = WineDosName();
    if (!toDos || path.empty() || path[0] != '/')
        return path;
    WCHAR* wide = toDos(path.c_str());
    if (!wide)
        return path;
    std::string result;
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size > 1)
    {
        result.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, result.data(), size, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(size - 1));
    }
    HeapFree(GetProcessHeap(), 0, wide);
    return result.empty() ? path : result;
}

bool StderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

std::string WindowsErrorText(unsigned long code)
{
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   0, text, sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' '))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}
