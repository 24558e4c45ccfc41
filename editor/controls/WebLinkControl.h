// An invisible area that opens the maker's web page on a press, trying a second address when the
// first cannot be opened.
#pragma once

#include "editor/Control.h"

#include <string>

namespace tpm
{

class WebLinkControl : public Control
{
  public:
    WebLinkControl(EditorWindow& editor, const PixelBox& rect, std::string firstAddress,
                   std::string secondAddress, std::string title);
    void OnMouseDown(int x, int y, const MouseMod& mod) override;
    bool Draw(EditorWindow&) override { return true; }

  private:
    std::string first;
    std::string second;
    std::string title;
};

} // namespace tpm
