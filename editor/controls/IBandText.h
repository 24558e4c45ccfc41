// The line of text under "Beats" that names the band the beat frequency lies in, as the plug-in's
// display state gives it at each frame tick.
#pragma once

#include "editor/controls/ITextControl.h"

namespace tpm
{

class IBandText : public ITextControl
{
  public:
    IBandText(IEditorWindow& editor, const IBox& rect, const ITextStyle& style)
        : ITextControl(editor, rect, style, "")
    {
    }
    void ShowDisplayState(const EditorDisplayState& state) override { SetText(state.bandText); }
};

} // namespace tpm
