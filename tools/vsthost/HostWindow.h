// The host side of `vsthost editor` and `vsthost play`: a top-level window that parents a plug-in's
// editor, with the player's program bar above it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class HostWindow // a top-level window that hosts a plug-in editor; one per editor command
{
  public:
    // A window whose client area is width x height; null with a one-line reason in `error`. Given
    // program names, a bar above that area shows the current one, steps to the previous or next and
    // lists them all to pick from.
    static std::unique_ptr<HostWindow> Create(int width, int height, const std::string& title,
                                              std::string& error,
                                              const std::vector<std::string>& programs = {});
    virtual ~HostWindow() = default;
    virtual void* ParentHandle() = 0; // HWND, or the X11 Window id cast to void*
    // A new client-area size, for editors that tell theirs only once they are open.
    virtual bool Resize(int width, int height) = 0;
    // Lets the user resize the window, its client area kept between the two sizes and at their
    // aspect ratio (where the platform's window manager honours hints).
    virtual void AllowUserResize(int minWidth, int minHeight, int maxWidth, int maxHeight)
    {
        (void)minWidth;
        (void)minHeight;
        (void)maxWidth;
        (void)maxHeight;
    }
    // The client-area size the user last dragged the window to, once; false when there is none new.
    virtual bool TakeUserSize(int& width, int& height)
    {
        (void)width;
        (void)height;
        return false;
    }
    virtual bool PumpEvents(int waitMs) = 0; // runs pending events; false once the user closed it
    // The client area as 0xAARRGGBB pixels, top row first.
    virtual bool CapturePixels(std::vector<uint32_t>& argb, int& width, int& height, std::string& error) = 0;
    // Where the client area's top left is on the screen (for tools that send input from outside).
    virtual void ScreenOrigin(int& x, int& y) = 0;
    // The program bar: what it shows as current, and the program the user picked there (-1: none).
    virtual void ShowProgram(int index, const std::string& name) = 0;
    virtual int TakeProgramChoice() = 0;
};
} // namespace tpm
