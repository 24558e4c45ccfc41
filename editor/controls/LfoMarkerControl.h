// The thin strip under an LFO's controls with a small marker at the LFO's current output within its
// range. It takes position, range and state from the plug-in's display state at each frame tick, and
// asks for a redraw whenever the marker would land on other pixels than it did when last drawn (so a
// still LFO costs nothing at the frame tick). The second strip shows a red marker while its LFO is
// blocked by sharing the first one's target.
#pragma once

#include "editor/Control.h"

namespace tpm
{

class LfoMarkerControl : public Control
{
  public:
    static constexpr int kFirstStripLeft = 22;
    static constexpr int kSecondStripLeft = 326;

    // lfo: 0 or 1, the LFO whose marker the strip shows.
    LfoMarkerControl(EditorWindow& editor, const PixelBox& rect, int lfo);
    bool NeedsRedraw() const override { return Control::NeedsRedraw() || CurrentLook() != drawnLook; }
    bool Draw(EditorWindow& editor) override;
    void ShowDisplayState(const EditorDisplayState& state) override { shown = state.lfo[lfo]; }

  private:
    // What the strip shows: the marker's offset along the strip and which marker.
    struct Look
    {
        int offset = 0;
        bool running = false;
        bool blocked = false;
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook() const;

    int lfo;
    EditorDisplayState::LfoMarker shown;
    Look drawnLook;
};

} // namespace tpm
