// A stand-in for the editor in the window-layer tests: paints a known pattern through the platform's
// layer and records every event the layer reports.
#pragma once

#include "draw/PixelSurface.h"
#include "editor/IWindowLayer.h"

#include <memory>
#include <vector>

namespace tpm
{
struct LayerEvent
{
    enum Kind
    {
        Down,
        Up,
        Drag,
        DoubleClick,
        Wheel,
        Key,
        Focus,
        Typing,
        Commit,
        Cancel,
    };
    Kind kind;
    int x = 0;
    int y = 0;
    tpm::MouseMod mod{};
    int value = 0; // wheel steps, key code, focus gained
};

class PatternEditor final : public tpm::IWindowEvents
{
  public:
    PatternEditor(int width, int height, uint32_t seed = 0);

    // Opens the window as a child of `parent` at (x, y); false when the layer answers null.
    bool Open(void* parent, int x, int y);
    void Close() { layer_.reset(); }
    tpm::IWindowLayer* Layer() { return layer_.get(); }
    tpm::PixelSurface& Surface() { return surface_; }
    uint32_t PatternAt(int x, int y) const;

    std::vector<LayerEvent> events;
    int ticks = 0;
    bool closing = false;

    void OnPaint(const tpm::PixelBox& region) override { layer_->Present(surface_, region); }
    void OnFrameTick() override { ++ticks; }
    void OnMouseDown(int x, int y, const tpm::MouseMod& mod) override
    {
        events.push_back({LayerEvent::Down, x, y, mod});
    }
    void OnMouseUp(int x, int y, const tpm::MouseMod& mod) override
    {
        events.push_back({LayerEvent::Up, x, y, mod});
    }
    void OnMouseDrag(int x, int y, const tpm::MouseMod& mod) override
    {
        events.push_back({LayerEvent::Drag, x, y, mod});
    }
    void OnMouseDoubleClick(int x, int y, const tpm::MouseMod& mod) override
    {
        events.push_back({LayerEvent::DoubleClick, x, y, mod});
    }
    void OnMouseWheel(int x, int y, const tpm::MouseMod& mod, int steps) override
    {
        events.push_back({LayerEvent::Wheel, x, y, mod, steps});
    }
    void OnKeyDown(int x, int y, tpm::EditorKey key) override
    {
        events.push_back({LayerEvent::Key, x, y, {}, static_cast<int>(key)});
    }
    void OnEntryFocus(bool focused) override
    {
        events.push_back({LayerEvent::Focus, 0, 0, {}, focused ? 1 : 0});
    }
    void OnEntryTyping() override { events.push_back({LayerEvent::Typing}); }
    void OnEntryCommit() override { events.push_back({LayerEvent::Commit}); }
    void OnEntryCancel() override { events.push_back({LayerEvent::Cancel}); }
    // As the real editor does: closing destroys the layer from inside its own event handling.
    void OnWindowClosing() override
    {
        closing = true;
        layer_.reset();
    }
    void OnSystemScaleChanged(double) override {}

    int Count(LayerEvent::Kind kind) const;

  private:
    int width_;
    int height_;
    uint32_t seed_;
    tpm::PixelSurface surface_;
    std::unique_ptr<tpm::IWindowLayer> layer_;
};
} // namespace tpm
