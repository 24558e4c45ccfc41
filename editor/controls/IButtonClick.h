// A switch whose every press is also a command to the plug-in, sent with the value the press sets
// (the LFO sync tabs: the engine then converts the rate between milliseconds and tempo divisions).
#pragma once

#include "editor/controls/IButton.h"

namespace tpm
{

class IButtonClick : public IButton
{
  public:
    IButtonClick(IEditorWindow& editor, int paramIdx, int x, int y, const IBitmapRef& picture,
                 EditorCommand pressCommand)
        : IButton(editor, paramIdx, x, y, picture), command(pressCommand)
    {
    }
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;

  private:
    EditorCommand command;
};

} // namespace tpm
