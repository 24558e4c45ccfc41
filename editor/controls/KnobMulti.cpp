#include "editor/controls/KnobMulti.h"

#include "editor/EditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

KnobMulti::KnobMulti(EditorWindow& owner, int param, const KnobSetup& setup)
    : KnobControl(owner, param, setup, true)
{
}

bool KnobMulti::Draw(EditorWindow& e)
{
    const bool textOk = DrawValueText(e, true);
    const int n = std::max(bitmap.N, 1);
    const int frame = std::clamp(static_cast<int>(std::round((n - 1) * Value())) + 1, 1, n);
    const double frameW = static_cast<double>(bitmap.W) / n;
    const PixelBox box{static_cast<int>(std::round(centerX - frameW * 0.5)), rect.top,
                       static_cast<int>(std::round(centerX + frameW * 0.5)),
                       rect.bottom - textGap - textStyle.size};
    return e.DrawBitmapFrame(bitmap, box, frame, blend, false) && textOk;
}

} // namespace tpm
