// The few things the host tool asks of the operating system beyond files and modules.
#pragma once

#include <string>

// The name the system's file functions understand. Under Wine, an absolute Unix path becomes the
// Windows name of the same file; everywhere else the path is returned unchanged.
std::string SystemFilePath(const std::string& path);
// Whether stderr is a terminal, where a progress line that rewrites itself belongs.
bool StderrIsTerminal();
#if defined(_WIN32)
// The system's own words for a Windows error code, without the trailing full stop.
std::string WindowsErrorText(unsigned long code);
#endif
