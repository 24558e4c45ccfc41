// Shows one frame of a bitmap chosen by the value; the editor's background is one.
#pragma once

#include "draw/IBitmapRef.h"
#include "editor/IControl.h"

namespace tpm
{

class IImageControl : public IControl
{
  public:
    IImageControl(IEditorWindow& editor, const IBox& rect, const IBitmapRef& bitmap,
                  bool framesVertical = true, int paramIdx = -1);
    bool Draw(IEditorWindow& editor) override;

  private:
    IBitmapRef bitmap;
    bool framesVertical;
};

} // namespace tpm
