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

ILfoMarker::ILfoMarker(IEditorWindow& owner, const IBox& box, int which)
    : IControl(owner, box), lfo(which == 0 ? 0 : 1)
{
}

ILfoMarker::Look ILfoMarker::CurrentLook() const
{
    const float lo = shown.rangeLo;
    const float hi = shown.rangeHi;
    const double span = static_cast<double>(hi) - lo;
    // A collapsed or broken range keeps the marker at the left end instead of dividing by zero.
    const double x =
        span > 0.0 && std::isfinite(span) ? (shown.position - static_cast<double>(lo)) * kTravel / span : 0.0;
    Look look;
    look.offset = std::isfinite(x) ? static_cast<int>(std::round(std::clamp(x, 0.0, double{kTravel}))) : 0;
    look.running = shown.running;
    look.blocked = shown.blocked;
    return look;
}

bool ILfoMarker::Draw(IEditorWindow& e)
{
    const Look look = CurrentLook();
    drawnLook = look;
    const int left = rect.left;
    const IBox marker{left + look.offset, rect.top, left + look.offset + 6, rect.bottom};
    if (left == kFirstStripLeft && look.running)
        return e.FillRect(kMarkerColour, marker);
    if (left == kSecondStripLeft)
    {
        if (look.running)
            return e.FillRect(kMarkerColour, marker);
        if (look.blocked)
            return e.FillRect(kBlockedColour, IBox{left, rect.top, left + 6, rect.bottom});
    }
    return true;
}

} // namespace tpm
