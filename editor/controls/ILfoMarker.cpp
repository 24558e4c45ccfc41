#include "editor/controls/ILfoMarker.h"

#include "draw/IRgba.h"
#include "editor/IEditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

namespace
{
constexpr int kTravel = 195; // the 6-pixel marker's left end moves over 195 of the strip's 201 columns
const uint32_t kMarkerColour = IRgba(150, 255, 255, 255).Packed();
const uint32_t kBlockedColour = IRgba(200, 255, 0, 0).Packed();
} // namespace

ILfoMarker::ILfoMarker(IEditorWindow& owner, const IBox& box) : IControl(owner, box) {}

bool ILfoMarker::Draw(IEditorWindow& e)
{
    const float lo = rangeLo.load(std::memory_order_relaxed);
    const float hi = rangeHi.load(std::memory_order_relaxed);
    const double span = static_cast<double>(hi) - lo;
    // A collapsed or broken range keeps the marker at the left end instead of dividing by zero.
    const double x =
        span > 0.0 && std::isfinite(span)
            ? (position.load(std::memory_order_relaxed) - static_cast<double>(lo)) * kTravel / span
            : 0.0;
    const int offset =
        std::isfinite(x) ? static_cast<int>(std::round(std::clamp(x, 0.0, double{kTravel}))) : 0;
    const bool isRunning = running.load(std::memory_order_relaxed);
    const int left = rect.left;
    if (left == kFirstStripLeft && isRunning)
        return e.FillRect(kMarkerColour, IBox{left + offset, rect.top, left + offset + 6, rect.bottom});
    if (left == kSecondStripLeft)
    {
        if (isRunning)
            return e.FillRect(kMarkerColour, IBox{left + offset, rect.top, left + offset + 6, rect.bottom});
        if (blocked.load(std::memory_order_relaxed))
            return e.FillRect(kBlockedColour, IBox{left, rect.top, left + 6, rect.bottom});
    }
    return true;
}

} // namespace tpm
