// An invisible area that opens the maker's web page on a press, trying a second address when the
// first cannot be opened.
#pragma once

#include "editor/IControl.h"

#include <string>

namespace tpm
{

class IWebLinkControl : public IControl
{
  public:
    IWebLinkControl(IEditorWindow& editor, const IBox& rect, std::string firstAddress,
                    std::string secondAddress, std::string title);
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;
    bool Draw(IEditorWindow&) override { return true; }

  private:
    std::string first;
    std::string second;
    std::string title;
};

} // namespace tpm
