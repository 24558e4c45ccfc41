#include "PatternEditor.h"

#include <algorithm>

namespace tpm
{
PatternEditor::PatternEditor(int width, int height, uint32_t seed)
    : width_(width), height_(height), seed_(seed), surface_(width, height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface_.SetPixel(x, y, PatternAt(x, y));
}

uint32_t PatternEditor::PatternAt(int x, int y) const
{
    const auto ux = static_cast<uint32_t>(x);
    const auto uy = static_cast<uint32_t>(y);
    return 0xFF000000u | ((ux * 7 + seed_) & 0xFF) << 16 | ((uy * 5) & 0xFF) << 8 | ((ux ^ uy) & 0xFF);
}

bool PatternEditor::Open(void* parent, int x, int y)
{
    layer_ = tpm::PlatformWindowLayerFactory()(*this, parent, {x, y, x + width_, y + height_}, 24);
    return layer_ != nullptr;
}

int PatternEditor::Count(LayerEvent::Kind kind) const
{
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [kind](const LayerEvent& e) { return e.kind == kind; }));
}
} // namespace tpm
