#include "tools/hostkit/HostPlatform.h"

#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <windows.h>

namespace tpm
{
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

std::wstring WideFromUtf8(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::wstring WideFilePath(const std::string& path)
{
    // Wine's conversion reads the Unix name as UTF-8 (the Unix side's encoding).
    const DosNameProc toDos = WineDosName();
    if (toDos && !path.empty() && path[0] == '/')
        if (WCHAR* dos = toDos(path.c_str()))
        {
            std::wstring wide(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            if (!wide.empty())
                return wide;
        }
    return WideFromUtf8(path);
}

std::string SystemFilePath(const std::string& path)
{
    return Utf8FromWide(WideFilePath(path).c_str());
}

std::FILE* OpenSystemFile(const std::string& path, const char* mode)
{
    return _wfopen(WideFilePath(path).c_str(), WideFromUtf8(mode).c_str());
}

long long PlainFileSize(std::FILE* file)
{
    struct _stat64 info
    {
    };
    return _fstat64(_fileno(file), &info) == 0 && (info.st_mode & _S_IFREG) != 0
               ? static_cast<long long>(info.st_size)
               : -1;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(WideFilePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool StderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

std::string WindowsErrorText(unsigned long code)
{
    wchar_t text[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   0, text, sizeof text / sizeof text[0], nullptr);
    std::string message = n > 0 ? Utf8FromWide(text) : std::string();
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' '))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}
} // namespace tpm
