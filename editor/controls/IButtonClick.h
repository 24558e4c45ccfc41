// A switch that also raises a flag of the plug-in on every press (the LFO sync tabs: the engine then
// converts the rate between milliseconds and tempo divisions).
#pragma once

#include "editor/controls/IButton.h"

namespace tpm
{

class IButtonClick : public IButton
{
  public:
    using IButton::IButton;
    // The flag belongs to the plug-in and is written under its lock.
    void SetPressFlag(bool* flag) { pressFlag = flag; }
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;

  private:
    bool* pressFlag = nullptr;
};

} // namespace tpm
