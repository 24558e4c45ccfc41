#include "draw/Raster.h"

#include "draw/CombineRules.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tpm
{

namespace
{

template <class Rule>
void BlitRows(PixelSurface& dest, const PixelSurface& src, int dx, int dy, int sx, int sy, int w, int h,
              Rule rule)
{
    for (int j = 0; j < h; ++j)
    {
        uint32_t* d = dest.Row(dy + j) + dx;
        const uint32_t* s = src.Row(sy + j) + sx;
        for (int i = 0; i < w; ++i)
            d[i] = rule(d[i], s[i]);
    }
}

void CopyRows(PixelSurface& dest, const PixelSurface& src, int dx, int dy, int sx, int sy, int w, int h)
{
    // Rows of one surface may overlap when a surface is blitted onto itself: go against the shift.
    const bool upward = &dest == &src && dy > sy;
    for (int n = 0; n < h; ++n)
    {
        const int j = upward ? h - 1 - n : n;
        std::memmove(dest.Row(dy + j) + dx, src.Row(sy + j) + sx, static_cast<size_t>(w) * sizeof(uint32_t));
    }
}

// Whole-word fill rules for copy mode at the quarter steps.
struct FillQuarter
{
    uint32_t col;
    uint32_t operator()(uint32_t d) const { return (d >> 1 & 0x7F7F7F7Fu) + (d >> 2 & 0x3F3F3F3Fu) + col; }
};
struct FillHalf
{
    uint32_t col;
    uint32_t operator()(uint32_t d) const { return (d >> 1 & 0x7F7F7F7Fu) + col; }
};
struct FillThreeQuarters
{
    uint32_t col;
    uint32_t operator()(uint32_t d) const { return (d >> 2 & 0x3F3F3F3Fu) + col; }
};
struct FillWeighted
{
    uint32_t col;
    int c;
    uint32_t operator()(uint32_t d) const
    {
        using combine::Ch;
        const int k = 256 - c;
        auto mix = [k](int dv, int cv) { return (dv - cv) * k / 256 + cv; };
        return combine::Pack(c + (Ch(d, 24) - c) * k / 256, mix(Ch(d, 16), Ch(col, 16)),
                             mix(Ch(d, 8), Ch(col, 8)), mix(Ch(d, 0), Ch(col, 0)));
    }
};
template <class Rule> struct FillWithRule
{
    Rule rule;
    uint32_t col;
    uint32_t operator()(uint32_t d) const { return rule(d, col); }
};

template <class Op> void FillRows(PixelSurface& dest, const PixelBox& box, Op op)
{
    for (int y = box.top; y < box.bottom; ++y)
    {
        uint32_t* d = dest.Row(y);
        for (int x = box.left; x < box.right; ++x)
            d[x] = op(d[x]);
    }
}

// Two pixels mixed by f/256 of the second, on the four bytes at once in two lanes.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f)
{
    const uint32_t g = 256 - f;
    const uint32_t rb = ((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8 & 0x00FF00FFu;
    const uint32_t ag = ((a >> 8 & 0x00FF00FFu) * g + (b >> 8 & 0x00FF00FFu) * f) & 0xFF00FF00u;
    return rb | ag;
}

struct RotationSetup
{
    // 16.16 source position (in pixel-index space) of the destination box's first pixel, and its steps.
    int64_t x0, y0, dxdi, dydi, dxdj, dydj;
    PixelBox bounds; // samples must come from here
};

template <class Rule>
void RotatedRows(PixelSurface& dest, const PixelSurface& src, int dstX, int dstY, int dstW, int dstH,
                 const RotationSetup& r, bool filter, Rule rule)
{
    const int i0 = std::max(0, -dstX);
    const int i1 = std::min(dstW, dest.Width() - dstX);
    const int j0 = std::max(0, -dstY);
    const int j1 = std::min(dstH, dest.Height() - dstY);
    if (i0 >= i1 || j0 >= j1)
        return;

    const PixelBox& b = r.bounds;
    int64_t rowX = r.x0 + r.dxdj * j0 + r.dxdi * i0;
    int64_t rowY = r.y0 + r.dydj * j0 + r.dydi * i0;
    for (int j = j0; j < j1; ++j, rowX += r.dxdj, rowY += r.dydj)
    {
        uint32_t* d = dest.Row(dstY + j) + dstX;
        int64_t px = rowX;
        int64_t py = rowY;
        for (int i = i0; i < i1; ++i, px += r.dxdi, py += r.dydi)
        {
            uint32_t sample;
            if (filter)
            {
                const int ix = static_cast<int>(px >> 16);
                const int iy = static_cast<int>(py >> 16);
                if (ix < b.left || ix >= b.right || iy < b.top || iy >= b.bottom)
                    continue;
                // The neighbours past the last column or row repeat the edge.
                const int nx = ix + 1 < b.right ? 1 : 0;
                const uint32_t* s0 = src.Row(iy) + ix;
                const uint32_t* s1 = iy + 1 < b.bottom ? src.Row(iy + 1) + ix : s0;
                const uint32_t fx = static_cast<uint32_t>(px >> 8 & 0xFF);
                const uint32_t fy = static_cast<uint32_t>(py >> 8 & 0xFF);
                sample = Lerp(Lerp(s0[0], s0[nx], fx), Lerp(s1[0], s1[nx], fx), fy);
            }
            else
            {
                const int ix = static_cast<int>((px + 0x8000) >> 16);
                const int iy = static_cast<int>((py + 0x8000) >> 16);
                if (ix < b.left || ix >= b.right || iy < b.top || iy >= b.bottom)
                    continue;
                sample = src.Row(iy)[ix];
            }
            d[i] = rule(d[i], sample);
        }
    }
}

int64_t ToFixed(double v)
{
    return std::llround(v * 65536.0);
}

} // namespace

void Blit(PixelSurface& dest, const PixelSurface& src, int dstX, int dstY, const PixelBox& srcBox,
          float weight, int mode)
{
    const int c = combine::WeightToC(weight);
    if (c == 0 || !dest.Valid() || !src.Valid())
        return;

    // Clip the source box to the source; the destination moves with its left and top edges.
    int sx = srcBox.left;
    int sy = srcBox.top;
    int w = srcBox.right - srcBox.left;
    int h = srcBox.bottom - srcBox.top;
    if (sx < 0)
        dstX -= sx, w += sx, sx = 0;
    if (sy < 0)
        dstY -= sy, h += sy, sy = 0;
    w = std::min(w, src.Width() - sx);
    h = std::min(h, src.Height() - sy);
    // Then to the destination; a negative destination start moves the source start by as much.
    if (dstX < 0)
        sx -= dstX, w += dstX, dstX = 0;
    if (dstY < 0)
        sy -= dstY, h += dstY, dstY = 0;
    w = std::min(w, dest.Width() - dstX);
    h = std::min(h, dest.Height() - dstY);
    if (w <= 0 || h <= 0)
        return;

    if ((mode & (kBlendRuleMask | kBlendUseAlpha)) == kBlendCopy && c == 256)
    {
        CopyRows(dest, src, dstX, dstY, sx, sy, w, h);
        return;
    }
    combine::WithRule(mode, c, [&](auto rule) { BlitRows(dest, src, dstX, dstY, sx, sy, w, h, rule); });
}

void RotatedBlit(PixelSurface& dest, const PixelSurface& src, int dstX, int dstY, int dstW, int dstH,
                 double srcX, double srcY, double srcW, double srcH, double angle, bool clipToSource,
                 float weight, int mode, double rotCenterX, double rotCenterY)
{
    const int c = combine::WeightToC(weight);
    if (c == 0 || !dest.Valid() || !src.Valid() || dstW <= 0 || dstH <= 0 || !(srcW > 0.0) || !(srcH > 0.0))
        return;
    if (!std::isfinite(angle) || !std::isfinite(srcX) || !std::isfinite(srcY))
        return;

    RotationSetup r;
    r.bounds = src.Bounds();
    if (clipToSource)
    {
        const PixelBox box{static_cast<int>(std::floor(srcX)), static_cast<int>(std::floor(srcY)),
                           static_cast<int>(std::ceil(srcX + srcW)),
                           static_cast<int>(std::ceil(srcY + srcH))};
        r.bounds = box.Intersect(src.Bounds());
        if (r.bounds.Empty())
            return;
    }

    // Destination offsets from the pivot are turned back by the angle, then scaled into the source box.
    const double sxScale = srcW / dstW;
    const double syScale = srcH / dstH;
    const double cosA = std::cos(angle);
    const double sinA = std::sin(angle);
    const double u0 = 0.5 - dstW * 0.5 - rotCenterX / sxScale;
    const double v0 = 0.5 - dstH * 0.5 - rotCenterY / syScale;
    const double pivotX = srcX + srcW * 0.5 + rotCenterX - 0.5;
    const double pivotY = srcY + srcH * 0.5 + rotCenterY - 0.5;
    // Positions this far out fit no surface and would overflow the 16.16 stepping: draw nothing.
    constexpr double kFarOut = 1 << 30;
    for (const double u : {u0, u0 + dstW})
        for (const double v : {v0, v0 + dstH})
            if (!(std::fabs(pivotX + (u * cosA + v * sinA) * sxScale) < kFarOut) ||
                !(std::fabs(pivotY + (-u * sinA + v * cosA) * syScale) < kFarOut))
                return;
    r.x0 = ToFixed(pivotX + (u0 * cosA + v0 * sinA) * sxScale);
    r.y0 = ToFixed(pivotY + (-u0 * sinA + v0 * cosA) * syScale);
    r.dxdi = ToFixed(cosA * sxScale);
    r.dydi = ToFixed(-sinA * syScale);
    r.dxdj = ToFixed(sinA * sxScale);
    r.dydj = ToFixed(cosA * syScale);

    const bool filter = (mode & kBlendFilter) != 0;
    combine::WithRule(mode, c,
                      [&](auto rule) { RotatedRows(dest, src, dstX, dstY, dstW, dstH, r, filter, rule); });
}

void FillRect(PixelSurface& dest, int x, int y, int w, int h, uint32_t colour, float weight, int mode)
{
    if (!dest.Valid() || w <= 0 || h <= 0)
        return;
    if (mode & kBlendUseAlpha)
        weight *= static_cast<float>(colour >> 24) * (1.0f / 255.0f);
    const int c = combine::WeightToC(weight);
    if (c == 0)
        return;
    const PixelBox box = PixelBox{x, y, x + w, y + h}.Intersect(dest.Bounds());
    if (box.Empty())
        return;

    switch (mode & kBlendRuleMask)
    {
    case kBlendAdd:
        FillRows(dest, box, FillWithRule<combine::Add>{{c, false}, colour});
        return;
    case kBlendDodge:
        FillRows(dest, box, FillWithRule<combine::Dodge>{{c, false}, colour});
        return;
    default:
        break;
    }
    switch (c)
    {
    case 64:
        FillRows(dest, box, FillQuarter{colour >> 2 & 0x3F3F3F3Fu});
        break;
    case 128:
        FillRows(dest, box, FillHalf{colour >> 1 & 0x7F7F7F7Fu});
        break;
    case 192:
        FillRows(dest, box, FillThreeQuarters{(colour >> 1 & 0x7F7F7F7Fu) + (colour >> 2 & 0x3F3F3F3Fu)});
        break;
    case 256:
        for (int row = box.top; row < box.bottom; ++row)
            std::fill(dest.Row(row) + box.left, dest.Row(row) + box.right, colour);
        break;
    default:
        FillRows(dest, box, FillWeighted{colour, c});
        break;
    }
}

} // namespace tpm
