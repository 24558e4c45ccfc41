#include "editor/controls/IKnobRotVal.h"

#include "editor/IEditorWindow.h"

#include <cmath>
#include <numbers>

namespace tpm
{

IKnobRotVal::IKnobRotVal(IEditorWindow& owner, int param, const IKnobSetup& setup, float imageWeight,
                         bool unit)
    : IKnobControl(owner, param, setup, false), imageBlend{IBlend::kCopyAlpha, imageWeight}, showUnit(unit)
{
}

bool IKnobRotVal::Draw(IEditorWindow& e)
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
