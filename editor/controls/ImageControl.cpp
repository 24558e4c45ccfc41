#include "editor/controls/ImageControl.h"

#include "editor/EditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

ImageControl::ImageControl(EditorWindow& owner, const PixelBox& box, const BitmapRef& picture, bool vertical,
                           int param)
    : Control(owner, box, param), bitmap(picture), framesVertical(vertical)
{
}

bool ImageControl::Draw(EditorWindow& e)
{
    int frame = 1;
    if (bitmap.N >= 2)
        frame = std::clamp(static_cast<int>(std::round((bitmap.N - 1) * Value())) + 1, 1, bitmap.N);
    return e.DrawBitmapFrame(bitmap, rect, frame, blend, framesVertical);
}

} // namespace tpm
