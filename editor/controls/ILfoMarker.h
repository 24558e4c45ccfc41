// The thin strip under an LFO's controls with a small marker at the LFO's current output within its
// range. The plug-in stores position, range and state from the audio thread; the strip only draws, and
// asks for a redraw whenever the marker would land on other pixels than it did when last drawn (so a
// still LFO costs nothing at the frame tick). The second strip shows a red marker while its LFO is
// blocked by sharing the first one's target.
#pragma once

#include "editor/IControl.h"

#include <atomic>

namespace tpm
{

class ILfoMarker : public IControl
{
  public:
    static constexpr int kFirstStripLeft = 22;
    static constexpr int kSecondStripLeft = 326;

    ILfoMarker(IEditorWindow& editor, const IBox& rect);
    bool NeedsRedraw() const override { return IControl::NeedsRedraw() || CurrentLook() != drawnLook; }
    bool Draw(IEditorWindow& editor) override;

    // Safe from any thread.
    void SetPosition(float p) { position.store(p, std::memory_order_relaxed); }
    void SetRange(float lo, float hi)
    {
        rangeLo.store(lo, std::memory_order_relaxed);
        rangeHi.store(hi, std::memory_order_relaxed);
    }
    void SetState(bool isRunning, bool isBlocked)
    {
        running.store(isRunning, std::memory_order_relaxed);
        blocked.store(isBlocked, std::memory_order_relaxed);
    }

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

    Look drawnLook; // user-interface thread only
    std::atomic<float> position{0.0f};
    std::atomic<float> rangeLo{0.0f};
    std::atomic<float> rangeHi{0.0f};
    std::atomic<bool> running{false};
    std::atomic<bool> blocked{false};
};

} // namespace tpm
