#pragma once

#include "draw/PixelBox.h"
#include "draw/PixelSurface.h"
#include "editor/x11/XcbConnection.h"
#include "editor/x11/XcbPixelFormat.h"

#include <xcb/shm.h>

#include <cstdint>
#include <vector>

namespace tpm
{

// Copies regions of a pixel surface into a window of the same size, converted to the window's visual:
// through a shared-memory image when the server offers MIT-SHM and shares our memory, else with plain
// put-image requests cut to the server's request size.
class XcbImagePresenter
{
  public:
    // `sharedMemory` false keeps to plain requests, as with a remote display.
    XcbImagePresenter(const XcbConnection& conn, const XcbPixelFormat& format, xcb_window_t window, int width,
                      int height, bool sharedMemory = true);
    ~XcbImagePresenter();
    XcbImagePresenter(const XcbImagePresenter&) = delete;
    XcbImagePresenter& operator=(const XcbImagePresenter&) = delete;

    // Puts `region` of the surface at the same place in the window (clipped to both).
    void Put(const PixelSurface& surface, const PixelBox& region);
    bool UsesSharedMemory() const { return shmAddress_ != nullptr; }

  private:
    bool AttachSharedMemory();
    void PutShared(const PixelSurface& surface, const PixelBox& area);
    void PutPlain(const PixelSurface& surface, const PixelBox& area);

    const XcbConnection& conn_;
    XcbPixelFormat format_;
    xcb_window_t window_;
    int width_;
    int height_;
    xcb_gcontext_t gc_ = 0;
    xcb_shm_seg_t segment_ = 0;
    uint8_t* shmAddress_ = nullptr;
    // The server may still be reading the shared image from the last put.
    bool sharedPutPending_ = false;
    std::vector<uint8_t> rows_;
};

} // namespace tpm
