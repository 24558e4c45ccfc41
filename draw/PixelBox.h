#pragma once

namespace tpm
{

// Integer rectangle; right and bottom are exclusive, all zero means empty.
struct PixelBox
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    int W() const { return right - left; }
    int H() const { return bottom - top; }
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }

    PixelBox Union(const PixelBox& other) const;
    PixelBox Intersect(const PixelBox& other) const;

    bool operator==(const PixelBox&) const = default;
};

} // namespace tpm
