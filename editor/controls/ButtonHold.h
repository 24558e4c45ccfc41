// A momentary button: on while pressed, off on release (wherever the pointer is by then).
#pragma once

#include "editor/controls/Button.h"

namespace tpm
{

class ButtonHold : public Button
{
  public:
    using Button::Button;
    void OnMouseDown(int x, int y, const MouseMod& mod) override;
    void OnMouseUp(int x, int y, const MouseMod& mod) override;
};

} // namespace tpm
