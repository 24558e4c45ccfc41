#include "editor/EditorSize.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

EditorSize EditorSizeAtScale(double scale)
{
    // A scale that is no number (a host's 0/0) falls back to the smallest.
    const double s =
        std::isfinite(scale) ? std::clamp(scale, kMinEditorScale, kMaxEditorScale) : kMinEditorScale;
    return {static_cast<int>(std::lround(kEditorLogicalWidth * s)),
            static_cast<int>(std::lround(kEditorLogicalHeight * s)), s};
}

EditorSize FitEditorSize(int width, int height)
{
    return EditorSizeAtScale(std::min(width / static_cast<double>(kEditorLogicalWidth),
                                      height / static_cast<double>(kEditorLogicalHeight)));
}

} // namespace tpm
