#pragma once

#include "draw/PixelSurface.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tpm
{

// One picture of the process-wide bitmap cache: its size, read from the PNG header when the picture is
// first asked for, and its pixels, decoded the first time something draws it. Hosts create many
// instances that never show an editor (to scan, or dozens in a session), so creating one reads headers
// only. Any thread may ask for the pixels first; they are decoded once.
//
// The picture also comes at the editor's other scales: ids plus 100 and plus 200 hold the same picture
// drawn at 2x and 3x, and a scale between sets is box-filtered down from the next larger set, made on
// first use. The sets are kept for good; of the in-between scales only the last few used are kept, as a
// resize grip dragged across the range would otherwise pile up one copy per step.
class CachedBitmap
{
  public:
    // Null when the module has no PNG resource with this id.
    static std::unique_ptr<CachedBitmap> Open(int id);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The decoded pixels; null when the data does not decode.
    PixelSurface* Surface();

    // The pixels at a scale (1 to 3): lround(Width() * scale) x lround(Height() * scale); null when
    // the data does not decode. Shared, so that a copy dropped from the cache outlives a draw using it.
    std::shared_ptr<const PixelSurface> SurfaceAt(double scale);

    // How many pictures this module has decoded so far.
    static int DecodeCount();
    // The id offset of the set drawn at a whole scale (2x: 100, 3x: 200).
    static constexpr int kScaleSetIdStep = 100;
    static constexpr int kLargestScaleSet = 3;
    static constexpr size_t kKeptInBetweenScales = 4;

  private:
    CachedBitmap(int id, int width, int height) : id_(id), width_(width), height_(height) {}
    // The decoded picture of the whole set nearest above the scale that this module has.
    PixelSurface* SourceSetFor(double scale);

    struct ScaledCopy
    {
        long key; // the scale in thousandths
        uint64_t lastUse;
        std::shared_ptr<const PixelSurface> pixels;
    };

    int id_;
    int width_;
    int height_;
    std::once_flag decodeOnce_;
    std::unique_ptr<PixelSurface> surface_;
    std::mutex scaledLock_;
    std::vector<ScaledCopy> scaled_;
    uint64_t useCount_ = 0;
};

} // namespace tpm
