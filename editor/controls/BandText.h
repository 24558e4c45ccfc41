// The line of text under "Beats" that names the band the beat frequency lies in, as the plug-in's
// display state gives it at each frame tick.
#pragma once

#include "editor/controls/TextControl.h"

namespace tpm
{

class BandText : public TextControl
{
  public:
    BandText(EditorWindow& editor, const PixelBox& rect, const TextStyle& style)
        : TextControl(editor, rect, style, "")
    {
    }
    void ShowDisplayState(const EditorDisplayState& state) override { SetText(state.bandText); }
};

} // namespace tpm
