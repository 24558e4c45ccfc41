#include "editor/controls/KnobRotVal.h"

#include "editor/EditorWindow.h"

#include <cmath>
#include <numbers>

namespace tpm
{

KnobRotVal::KnobRotVal(EditorWindow& owner, int param, const KnobSetup& setup, float imageWeight, bool unit)
    : KnobControl(owner, param, setup, false), imageBlend{BlendMode::kCopyAlpha, imageWeight}, showUnit(unit)
{
}

bool KnobRotVal::Draw(EditorWindow& e)
{
    const bool textOk = DrawValueText(e, showUnit);
    const double v = Value();
    // -range/2 at 0, upright at 0.5, +range/2 at 1; both factors in single precision.
    const auto a = static_cast<float>(rotationRange * std::numbers::pi / 360.0);
    const auto b = static_cast<float>(rotationRange * -std::numbers::pi / 360.0);
    const double angle = 2.0 * v * a + b;
    // Up to a pixel's shift toward the top left at the ends of the range, none in the middle.
    const double shift = -2.0 * std::fabs(v - 0.5);
    const bool imageOk = e.DrawRotatedBitmap(bitmap, centerX, centerY, angle, imageBlend, shift, shift);
    return textOk && imageOk;
}

} // namespace tpm
