#include "WindowTestEditor.h"

#include "draw/SystemSurface.h"

#include <algorithm>

namespace tpm
{
WindowTestEditor::WindowTestEditor(int width, int height) : surface_(tpm::CreateSystemSurface(width, height))
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface_->SetPixel(x, y, PatternAt(x, y));
}

bool WindowTestEditor::Open(void* parent, const tpm::PixelBox& bounds, int frameRate)
{
    layer_ = tpm::PlatformWindowLayerFactory()(*this, parent, bounds, frameRate);
    return layer_ != nullptr;
}

uint32_t WindowTestEditor::PatternAt(int x, int y)
{
    return 0xFF000000u | static_cast<uint32_t>((x * 5) & 0xFF) << 16 |
           static_cast<uint32_t>((y * 3) & 0xFF) << 8 | static_cast<uint32_t>((x ^ y) & 0xFF);
}

int WindowTestEditor::Count(const std::string& kind) const
{
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [&](const Event& e) { return e.kind == kind; }));
}

void WindowTestEditor::OnPaint(const tpm::PixelBox& region)
{
    ++paints;
    layer_->Present(*surface_, region);
}

void WindowTestEditor::OnFrameTick()
{
    ++ticks;
}

void WindowTestEditor::OnWindowClosing()
{
    layer_.reset(); // as the editor does: the window is gone, so is its layer
}

void WindowTestEditor::Record(const Event& event)
{
    events.push_back(event);
    if (onEvent)
        onEvent(event);
}
} // namespace tpm
