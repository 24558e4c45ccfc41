// Shows one frame of a bitmap chosen by the value; the editor's background is one.
#pragma once

#include "draw/BitmapRef.h"
#include "editor/Control.h"

namespace tpm
{

class ImageControl : public Control
{
  public:
    ImageControl(EditorWindow& editor, const PixelBox& rect, const BitmapRef& bitmap,
                 bool framesVertical = true, int paramIdx = -1);
    bool Draw(EditorWindow& editor) override;

  private:
    BitmapRef bitmap;
    bool framesVertical;
};

} // namespace tpm
