// The top-level window an editor command opens to host a plug-in's editor.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class HostWindow
{ // a top-level window that hosts a plug-in editor; one per editor command
  public:
    static std::unique_ptr<HostWindow> Create(int width, int height, const std::string& title,
                                              std::string& error);
    virtual ~HostWindow() = default;
    virtual void* ParentHandle() = 0;        // HWND, or the X11 Window id cast to void*
    virtual bool PumpEvents(int waitMs) = 0; // runs pending events; false once the user closed it
    virtual bool CapturePixels(std::vector<uint32_t>& argb, int& width, int& height, std::string& error) = 0;
};
