// A stand-in for the plug-in's editor in window tests: an off-screen surface holding a known pattern,
// the platform's window layer made through its factory, and a record of every event the layer delivers.
#pragma once

#include "draw/PixelSurface.h"
#include "editor/IWindowLayer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tpm
{
class WindowTestEditor final : public tpm::IWindowEvents
{
  public:
    struct Event
    {
        Event(std::string kind_, int x_ = 0, int y_ = 0, tpm::MouseMod mod_ = {}, int value_ = 0)
            : kind(std::move(kind_)), x(x_), y(y_), mod(mod_), value(value_)
        {
        }
        std::string
            kind; // "down", "up", "drag", "double", "wheel", "key", "focus", "blur", "typing", "commit"
        int x;
        int y;
        tpm::MouseMod mod;
        int value; // wheel steps or key code
    };

    WindowTestEditor(int width, int height);
    bool Open(void* parent, const tpm::PixelBox& bounds, int frameRate = 24);
    void Close() { layer_.reset(); }
    tpm::IWindowLayer* Layer() { return layer_.get(); }

    static uint32_t PatternAt(int x, int y);
    int Count(const std::string& kind) const;

    std::vector<Event> events;
    int ticks = 0;
    int paints = 0;
    // Called after each recorded event (the test plug-in turns presses into host messages).
    std::function<void(const Event&)> onEvent;

    void OnPaint(const tpm::PixelBox& region) override;
    void OnFrameTick() override;
    void OnMouseDown(int x, int y, const tpm::MouseMod& mod) override { Record({"down", x, y, mod}); }
    void OnMouseUp(int x, int y, const tpm::MouseMod& mod) override { Record({"up", x, y, mod}); }
    void OnMouseDrag(int x, int y, const tpm::MouseMod& mod) override { Record({"drag", x, y, mod}); }
    void OnMouseDoubleClick(int x, int y, const tpm::MouseMod& mod) override
    {
        Record({"double", x, y, mod});
    }
    void OnMouseWheel(int x, int y, const tpm::MouseMod& mod, int steps) override
    {
        Record({"wheel", x, y, mod, steps});
    }
    void OnKeyDown(int x, int y, tpm::EditorKey key) override
    {
        Record({"key", x, y, {}, static_cast<int>(key)});
    }
    void OnEntryFocus(bool focused) override { Record({focused ? "focus" : "blur"}); }
    void OnEntryTyping() override { Record({"typing"}); }
    void OnEntryCommit() override { Record({"commit"}); }
    void OnEntryCancel() override { Record({"cancel"}); }
    void OnWindowClosing() override;
    void OnSystemScaleChanged(double) override {}

  private:
    void Record(const Event& event);

    std::unique_ptr<tpm::PixelSurface> surface_;
    std::unique_ptr<tpm::IWindowLayer> layer_;
};
} // namespace tpm
