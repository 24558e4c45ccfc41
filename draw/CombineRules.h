#pragma once

#include "draw/Raster.h"

#include <algorithm>
#include <cstdint>

// The per-pixel combine rules shared by the straight and the rotated transfer. Each rule is a small
// function object so the pixel loops are instantiated once per rule and the choice is made per call,
// not per pixel. Weights arrive as c = (int)(weight * 256), 1..256.
namespace tpm::combine
{

constexpr uint32_t Pack(int a, int r, int g, int b)
{
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}
constexpr int Ch(uint32_t p, int shift)
{
    return static_cast<int>(p >> shift & 0xFF);
}
constexpr int Clamp255(int v)
{
    return std::clamp(v, 0, 255);
}

// Mode 0 at weight 1: the source replaces the destination.
struct CopyOpaque
{
    uint32_t operator()(uint32_t, uint32_t s) const { return s; }
};

// Mode 0 at weight 0.5: the average of whole pixels, one shift and mask per word.
struct CopyHalf
{
    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        return (s >> 1 & 0x7F7F7F7Fu) + (d >> 1 & 0x7F7F7F7Fu);
    }
};

// Mode 0 at any other weight: every byte, alpha included, moves from d towards s.
struct CopyWeighted
{
    int c;
    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        const int k = 256 - c;
        auto mix = [k](int sv, int dv) { return sv + (dv - sv) * k / 256; };
        return Pack(mix(Ch(s, 24), Ch(d, 24)), mix(Ch(s, 16), Ch(d, 16)), mix(Ch(s, 8), Ch(d, 8)),
                    mix(Ch(s, 0), Ch(d, 0)));
    }
};

// Mode 0 with the source alpha.
struct CopyAlpha
{
    int c;
    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        const int a = Ch(s, 24);
        if (a == 0)
            return d;
        if (c >= 256)
        {
            if (a == 255)
                return s;
            const int k = 255 - a;
            auto mix = [k](int sv, int dv) { return sv + (dv - sv) * k / 256; };
            return Pack(std::min(255, Ch(d, 24) + a), mix(Ch(s, 16), Ch(d, 16)), mix(Ch(s, 8), Ch(d, 8)),
                        mix(Ch(s, 0), Ch(d, 0)));
        }
        const int l = c * (a + 1) / 256;
        const int k = 256 - l;
        auto mix = [k](int sv, int dv) { return sv + (dv - sv) * k / 256; };
        return Pack(std::min(255, Ch(d, 24) + l), mix(Ch(s, 16), Ch(d, 16)), mix(Ch(s, 8), Ch(d, 8)),
                    mix(Ch(s, 0), Ch(d, 0)));
    }
};

// Mode 1: adds the source scaled by its alpha and the weight. Without the alpha flag the source counts
// as opaque.
struct Add
{
    int c;
    bool useAlpha;
    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        const int a = useAlpha ? Ch(s, 24) : 255;
        if (a == 0)
            return d;
        const int m = c * (a + 1) / 256;
        auto add = [m](int sv, int dv) { return Clamp255(dv + m * sv / 256); };
        return Pack(Clamp255(Ch(d, 24) + a * m / 256), add(Ch(s, 16), Ch(d, 16)), add(Ch(s, 8), Ch(d, 8)),
                    add(Ch(s, 0), Ch(d, 0)));
    }
};

// Mode 2: colour dodge, brightening the destination by the scaled source.
struct Dodge
{
    int c;
    bool useAlpha;
    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        const int a = useAlpha ? Ch(s, 24) : 255;
        const int m = c * (a + 1) / 256;
        auto dodge = [m](int sv, int dv) {
            const int k = sv * m / 256;
            if (k > 254)
                return std::min(255, dv * 256);
            return std::min(255, dv * 256 / (256 - k));
        };
        return Pack(dodge(a, Ch(d, 24)), dodge(Ch(s, 16), Ch(d, 16)), dodge(Ch(s, 8), Ch(d, 8)),
                    dodge(Ch(s, 0), Ch(d, 0)));
    }
};

// Weight as the rules use it; 0 means draw nothing. Weights past 1 act as 1.
inline int WeightToC(float weight)
{
    if (!(weight > 0.0f))
        return 0;
    if (weight >= 1.0f)
        return 256;
    return static_cast<int>(weight * 256.0f);
}

// Calls f with the rule object that mode and c select.
template <class F> void WithRule(int mode, int c, F&& f)
{
    const bool useAlpha = (mode & kBlendUseAlpha) != 0;
    switch (mode & kBlendRuleMask)
    {
    case kBlendAdd:
        f(Add{c, useAlpha});
        break;
    case kBlendDodge:
        f(Dodge{c, useAlpha});
        break;
    default:
        if (useAlpha)
            f(CopyAlpha{c});
        else if (c == 256)
            f(CopyOpaque{});
        else if (c == 128)
            f(CopyHalf{});
        else
            f(CopyWeighted{c});
        break;
    }
}

} // namespace tpm::combine
