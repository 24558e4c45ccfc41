// A momentary button: on while pressed, off on release (wherever the pointer is by then).
#pragma once

#include "editor/controls/IButton.h"

namespace tpm
{

class IButtonHold : public IButton
{
  public:
    using IButton::IButton;
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;
    void OnMouseUp(int x, int y, const IMouseMod& mod) override;
};

} // namespace tpm
