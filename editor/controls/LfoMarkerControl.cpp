#include "editor/controls/LfoMarkerControl.h"

#include "draw/Rgba.h"
#include "editor/EditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

namespace
{
constexpr int kTravel = 195; // the 6-pixel marker's left end moves over 195 of the strip's 201 columns
const uint32_t kMarkerColour = Rgba(150, 255, 255, 255).Packed();
const uint32_t kBlockedColour = Rgba(200, 255, 0, 0).Packed();
} // namespace

LfoMarkerControl::LfoMarkerControl(EditorWindow& owner, const PixelBox& box, int which)
    : Control(owner, box), lfo(which == 0 ? 0 : 1)
{
}

LfoMarkerControl::Look LfoMarkerControl::CurrentLook() const
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

bool LfoMarkerControl::Draw(EditorWindow& e)
{
    const Look look = CurrentLook();
    drawnLook = look;
    const int left = rect.left;
    const PixelBox marker{left + look.offset, rect.top, left + look.offset + 6, rect.bottom};
    if (left == kFirstStripLeft && look.running)
        return e.FillRect(kMarkerColour, marker);
    if (left == kSecondStripLeft)
    {
        if (look.running)
            return e.FillRect(kMarkerColour, marker);
        if (look.blocked)
            return e.FillRect(kBlockedColour, PixelBox{left, rect.top, left + 6, rect.bottom});
    }
    return true;
}

} // namespace tpm
