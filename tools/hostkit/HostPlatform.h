// The few things the host tool asks of the operating system beyond modules. Paths are UTF-8
// everywhere; on Windows they reach the system through its wide (UTF-16) functions, so names outside
// the ANSI code page work.
#pragma once

#include <cstdio>
#include <string>

namespace tpm
{
// The name the system's file functions understand, in UTF-8. Under Wine, an absolute Unix path
// becomes the Windows name of the same file; everywhere else the path is returned unchanged.
std::string SystemFilePath(const std::string& path);
// Opens a file as std::fopen does (null and errno on failure), by its UTF-8 name.
std::FILE* OpenSystemFile(const std::string& path, const char* mode);
// The size of an open plain file; -1 for a folder, a device or a pipe.
long long PlainFileSize(std::FILE* file);
// Whether the path names an existing folder.
bool IsFolder(const std::string& path);
// Whether stderr is a terminal, where a progress line that rewrites itself belongs.
bool StderrIsTerminal();
#if defined(_WIN32)
// The system's own words for a Windows error code, without the trailing full stop.
std::string WindowsErrorText(unsigned long code);
// SystemFilePath in UTF-16, for the system's wide functions.
std::wstring WideFilePath(const std::string& path);
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text);
#endif
} // namespace tpm
