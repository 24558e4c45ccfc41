// What an editor leaves in the host process, measured the platform's way, for the editor test host.
#pragma once

#include <string>

namespace tpm
{
namespace editorprobe
{

// Descriptors (POSIX), or kernel handles plus GDI and USER objects (Windows).
// Counts of 0 where the system does not count them (Wine counts neither).
int OpenHandles();
// Memory the process holds, in bytes: what a leaked surface or bitmap shows up in everywhere.
long long MemoryInUse();

// The window class of the editor child in `parent` ("" when none, or where windows have no classes),
// and the module that registered it.
struct WindowClass
{
    std::string name;
    void* module = nullptr;
};
WindowClass EditorWindowClass(void* parent);
bool IsRegistered(const WindowClass& windowClass);

} // namespace editorprobe
} // namespace tpm
