#include "draw/Resample.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tpm
{

namespace
{
// One destination pixel's share of the source along an axis: source index and weight.
struct Tap
{
    int index;
    float weight;
};

// For each destination index, the source indices it covers and how much of each (weights sum to 1).
std::vector<std::vector<Tap>> AxisTaps(int srcSize, int dstSize)
{
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(dstSize));
    const double ratio = static_cast<double>(srcSize) / dstSize;
    for (int d = 0; d < dstSize; ++d)
    {
        const double from = d * ratio;
        const double to = std::min((d + 1) * ratio, static_cast<double>(srcSize));
        for (int s = static_cast<int>(from); s < srcSize && s < to; ++s)
        {
            const double overlap = std::min(to, s + 1.0) - std::max(from, static_cast<double>(s));
            if (overlap > 0.0)
                taps[static_cast<size_t>(d)].push_back({s, static_cast<float>(overlap / (to - from))});
        }
    }
    return taps;
}

using Premultiplied = std::array<float, 4>; // b, g, r, a; colour scaled by alpha

Premultiplied Unpack(uint32_t p)
{
    const float a = static_cast<float>(p >> 24);
    return {static_cast<float>(p & 0xFF) * a, static_cast<float>((p >> 8) & 0xFF) * a,
            static_cast<float>((p >> 16) & 0xFF) * a, a};
}

uint32_t Pack(const Premultiplied& v)
{
    const float a = v[3];
    if (a < 0.5f)
        return 0;
    // Back to straight alpha: the colour sums were weighted by alpha.
    auto channel = [a](float c) { return static_cast<uint32_t>(std::clamp(c / a + 0.5f, 0.0f, 255.0f)); };
    const auto alpha = static_cast<uint32_t>(std::clamp(a + 0.5f, 0.0f, 255.0f));
    return alpha << 24 | channel(v[2]) << 16 | channel(v[1]) << 8 | channel(v[0]);
}
} // namespace

std::unique_ptr<PixelSurface> BoxResample(const PixelSurface& src, int width, int height)
{
    if (!src.Valid() || width <= 0 || height <= 0)
        return nullptr;
    const auto across = AxisTaps(src.Width(), width);
    const auto down = AxisTaps(src.Height(), height);
    // Rows first into a premultiplied buffer at the destination width, then columns.
    std::vector<Premultiplied> rows(static_cast<size_t>(width) * src.Height());
    for (int y = 0; y < src.Height(); ++y)
    {
        const uint32_t* line = src.Row(y);
        for (int x = 0; x < width; ++x)
        {
            Premultiplied sum{};
            for (const Tap& t : across[static_cast<size_t>(x)])
            {
                const Premultiplied p = Unpack(line[t.index]);
                for (size_t c = 0; c < 4; ++c)
                    sum[c] += p[c] * t.weight;
            }
            rows[static_cast<size_t>(y) * width + x] = sum;
        }
    }
    auto out = std::make_unique<PixelSurface>(width, height);
    for (int y = 0; y < height; ++y)
    {
        uint32_t* line = out->Row(y);
        for (int x = 0; x < width; ++x)
        {
            Premultiplied sum{};
            for (const Tap& t : down[static_cast<size_t>(y)])
            {
                const Premultiplied& p = rows[static_cast<size_t>(t.index) * width + x];
                for (size_t c = 0; c < 4; ++c)
                    sum[c] += p[c] * t.weight;
            }
            line[x] = Pack(sum);
        }
    }
    return out;
}

} // namespace tpm
