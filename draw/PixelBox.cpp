#include "draw/PixelBox.h"

#include <algorithm>

namespace tpm
{

PixelBox PixelBox::Union(const PixelBox& other) const
{
    if (Empty())
        return other;
    if (other.Empty())
        return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}

PixelBox PixelBox::Intersect(const PixelBox& other) const
{
    if (Empty() || other.Empty())
        return {};
    if (!(left < other.right && other.left < right && top < other.bottom && other.top < bottom))
        return {};
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
}

} // namespace tpm
