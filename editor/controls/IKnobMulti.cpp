#include "editor/controls/IKnobMulti.h"

#include "editor/IEditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

IKnobMulti::IKnobMulti(IEditorWindow& owner, int param, const IKnobSetup& setup)
    : IKnobControl(owner, param, setup, true)
{
}

bool IKnobMulti::Draw(IEditorWindow& e)
{
    const bool textOk = DrawValueText(e, true);
    const int n = std::max(bitmap.N, 1);
    const int frame = std::clamp(static_cast<int>(std::round((n - 1) * Value())) + 1, 1, n);
    const double frameW = static_cast<double>(bitmap.W) / n;
    const IBox box{static_cast<int>(std::round(centerX - frameW * 0.5)), rect.top,
                   static_cast<int>(std::round(centerX + frameW * 0.5)),
                   rect.bottom - textGap - textStyle.size};
    return e.DrawBitmapFrame(bitmap, box, frame, blend, false) && textOk;
}

} // namespace tpm
