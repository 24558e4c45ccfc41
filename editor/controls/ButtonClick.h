// A switch whose every press is also a command to the plug-in, sent with the value the press sets
// (the LFO sync tabs: the engine then converts the rate between milliseconds and tempo divisions).
#pragma once

#include "editor/controls/Button.h"

namespace tpm
{

class ButtonClick : public Button
{
  public:
    ButtonClick(EditorWindow& editor, int paramIdx, int x, int y, const BitmapRef& picture,
                EditorCommand pressCommand)
        : Button(editor, paramIdx, x, y, picture), command(pressCommand)
    {
    }
    void OnMouseDown(int x, int y, const MouseMod& mod) override;

  private:
    EditorCommand command;
};

} // namespace tpm
