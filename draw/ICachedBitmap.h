#pragma once

#include "draw/ISurface.h"

#include <memory>
#include <mutex>

namespace tpm
{

// One picture of the process-wide bitmap cache: its size, read from the PNG header when the picture is
// first asked for, and its pixels, decoded the first time something draws it. Hosts create many
// instances that never show an editor (to scan, or dozens in a session), so creating one reads headers
// only. Any thread may ask for the pixels first; they are decoded once.
class ICachedBitmap
{
  public:
    // Null when the module has no PNG resource with this id.
    static std::unique_ptr<ICachedBitmap> Open(int id);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The decoded pixels; null when the data does not decode.
    ISurface* Surface();

    // How many pictures this module has decoded so far.
    static int DecodeCount();

  private:
    ICachedBitmap(int id, int width, int height) : id_(id), width_(width), height_(height) {}

    int id_;
    int width_;
    int height_;
    std::once_flag decodeOnce_;
    std::unique_ptr<ISurface> surface_;
};

} // namespace tpm
