#include "editor/controls/IImageControl.h"

#include "editor/IEditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

IImageControl::IImageControl(IEditorWindow& owner, const IBox& box, const IBitmapRef& picture, bool vertical,
                             int param)
    : IControl(owner, box, param), bitmap(picture), framesVertical(vertical)
{
}

bool IImageControl::Draw(IEditorWindow& e)
{
    int frame = 1;
    if (bitmap.N >= 2)
        frame = std::clamp(static_cast<int>(std::round((bitmap.N - 1) * Value())) + 1, 1, bitmap.N);
    return e.DrawBitmapFrame(bitmap, rect, frame, blend, framesVertical);
}

} // namespace tpm
