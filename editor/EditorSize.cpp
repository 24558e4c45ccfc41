#include "editor/EditorSize.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

EditorSize EditorSizeAtScale(double scale)
{
    // A NaN from a host would pass the clamp untouched.
    const double s = std::isfinite(scale) ? std::clamp(scale, kMinEditorScale, kMaxEditorScale) : 1.0;
    return {static_cast<int>(std::lround(kEditorLogicalWidth * s)),
            static_cast<int>(std::lround(kEditorLogicalHeight * s)), s};
}

EditorSize FitEditorSize(int width, int height)
{
    return EditorSizeAtScale(std::min(width / static_cast<double>(kEditorLogicalWidth),
                                      height / static_cast<double>(kEditorLogicalHeight)));
}

} // namespace tpm
