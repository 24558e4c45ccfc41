#include "editor/controls/KnobControl.h"

#include "editor/EditorWindow.h"

#include <cmath>
#include <string>

namespace tpm
{

namespace
{
PixelBox KnobRect(const KnobSetup& s, bool textStripAlways)
{
    const int hw = s.width != 0
                       ? s.width / 2
                       : static_cast<int>(std::round(static_cast<double>(s.bitmap.W) / s.bitmap.N * 0.5));
    const int hh = static_cast<int>(std::round(s.bitmap.H * 0.5));
    const bool strip = textStripAlways || s.textGap > 0;
    const int bottom = s.centerY + hh + (strip ? s.textGap + s.textStyle.size : 0);
    return {s.centerX - hw, s.centerY - hh, s.centerX + hw, bottom};
}
} // namespace

KnobControl::KnobControl(EditorWindow& owner, int param, const KnobSetup& s, bool textStripAlways)
    : Control(owner, KnobRect(s, textStripAlways), param), horizontal(s.horizontal),
      dragGearing(s.dragGearing), textStyle(s.textStyle), bitmap(s.bitmap), centerX(s.centerX),
      centerY(s.centerY), textGap(s.textGap), rotationRange(s.rotationRange)
{
}

void KnobControl::OnMouseDrag(int, int, int dX, int dY, const MouseMod& mod)
{
    const double gearing = (mod.C || mod.S) ? dragGearing * 10.0 : dragGearing;
    // Moving up raises the value: the whole range takes gearing x the control's size in pixels.
    if (horizontal)
        SetValue(Value() + dX / static_cast<double>(rect.right - rect.left) / gearing);
    else
        SetValue(Value() + dY / static_cast<double>(rect.top - rect.bottom) / gearing);
    MarkDirty(true);
}

bool KnobControl::DrawValueText(EditorWindow& e, bool withUnit)
{
    if (!IsBound())
        return true;
    // From the control's own value, which is what the user sees move.
    std::string text = editor.Controller().DisplayText(paramIdx, Value());
    if (text.empty() || textStyle.size <= 0)
        return true;
    textStyle.align = TextStyle::kAlignCentre;
    if (withUnit)
        text += editor.Controller().Unit(paramIdx);
    PixelBox strip{rect.left, rect.bottom - textStyle.size, rect.right, rect.bottom};
    if (textGap < 0)
        strip = {rect.left, rect.bottom + textGap - textStyle.size, rect.right, rect.bottom + textGap};
    return e.DrawText(textStyle, text, strip);
}

} // namespace tpm
