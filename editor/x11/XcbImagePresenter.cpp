#include "editor/x11/XcbImagePresenter.h"

#include <algorithm>
#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace tpm
{

XcbImagePresenter::XcbImagePresenter(const XcbConnection& conn, const XcbPixelFormat& format,
                                     xcb_window_t window, int width, int height, bool sharedMemory)
    : conn_(conn), format_(format), window_(window), width_(width), height_(height)
{
    gc_ = xcb_generate_id(conn_.Get());
    const uint32_t noExposures = 0;
    xcb_create_gc(conn_.Get(), gc_, window_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    if (sharedMemory)
        AttachSharedMemory();
}

XcbImagePresenter::~XcbImagePresenter()
{
    if (shmAddress_)
    {
        xcb_shm_detach(conn_.Get(), segment_);
        shmdt(shmAddress_);
    }
    xcb_free_gc(conn_.Get(), gc_);
}

bool XcbImagePresenter::AttachSharedMemory()
{
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn_.Get(), &xcb_shm_id);
    if (!ext || !ext->present)
        return false;
    const size_t bytes = static_cast<size_t>(format_.RowBytes(width_)) * height_;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void* address = shmat(id, nullptr, 0);
    bool attached = false;
    if (address != reinterpret_cast<void*>(-1))
    {
        segment_ = xcb_generate_id(conn_.Get());
        attached = conn_.Check(xcb_shm_attach_checked(conn_.Get(), segment_, static_cast<uint32_t>(id), 0));
        if (!attached) // a remote server cannot see our memory
            shmdt(address);
    }
    // Marked for removal at once: it goes away when both sides have detached, even if we crash.
    shmctl(id, IPC_RMID, nullptr);
    if (!attached)
        return false;
    shmAddress_ = static_cast<uint8_t*>(address);
    return true;
}

void XcbImagePresenter::Put(const PixelSurface& surface, const PixelBox& region)
{
    if (!format_.Valid() || !surface.Valid())
        return;
    const PixelBox limit{0, 0, std::min(width_, surface.Width()), std::min(height_, surface.Height())};
    const PixelBox area = region.Intersect(limit);
    if (area.Empty())
        return;
    if (shmAddress_)
        PutShared(surface, area);
    else
        PutPlain(surface, area);
    xcb_flush(conn_.Get());
}

void XcbImagePresenter::PutShared(const PixelSurface& surface, const PixelBox& area)
{
    if (sharedPutPending_)
        conn_.Sync();
    const int rowBytes = format_.RowBytes(width_);
    const int bpp = format_.BytesPerPixel();
    for (int y = area.top; y < area.bottom; ++y)
        format_.FromArgb(surface.Row(y) + area.left, area.W(),
                         shmAddress_ + static_cast<size_t>(y) * rowBytes +
                             static_cast<size_t>(area.left) * bpp);
    xcb_shm_put_image(
        conn_.Get(), window_, gc_, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_),
        static_cast<uint16_t>(area.left), static_cast<uint16_t>(area.top), static_cast<uint16_t>(area.W()),
        static_cast<uint16_t>(area.H()), static_cast<int16_t>(area.left), static_cast<int16_t>(area.top),
        format_.Depth(), XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
    sharedPutPending_ = true;
}

void XcbImagePresenter::PutPlain(const PixelSurface& surface, const PixelBox& area)
{
    const int rowBytes = format_.RowBytes(area.W());
    // The request length limit is in 4-byte units; leave room for the request header.
    const size_t maxBytes = static_cast<size_t>(xcb_get_maximum_request_length(conn_.Get())) * 4 - 64;
    const int bandRows = std::max(1, static_cast<int>(maxBytes / static_cast<size_t>(rowBytes)));
    for (int top = area.top; top < area.bottom; top += bandRows)
    {
        const int rows = std::min(bandRows, area.bottom - top);
        rows_.assign(static_cast<size_t>(rowBytes) * rows, 0);
        for (int r = 0; r < rows; ++r)
            format_.FromArgb(surface.Row(top + r) + area.left, area.W(),
                             rows_.data() + static_cast<size_t>(r) * rowBytes);
        xcb_put_image(conn_.Get(), XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<uint16_t>(area.W()),
                      static_cast<uint16_t>(rows), static_cast<int16_t>(area.left), static_cast<int16_t>(top),
                      0, format_.Depth(), static_cast<uint32_t>(rows_.size()), rows_.data());
    }
}

} // namespace tpm
