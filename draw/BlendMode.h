#pragma once

#include "draw/Raster.h"

namespace tpm
{

// How a control combines its picture with what lies under it, in the editor's terms.
struct BlendMode
{
    enum Method
    {
        kCopyAlpha = 0,
        kCopy = 1,
        kAdd = 2,
        kColourDodge = 3,
    };

    int method = kCopyAlpha;
    float weight = 1.0f;

    // The raster library's mode word for this method.
    constexpr int Mode() const
    {
        switch (method)
        {
        case kCopy:
            return kBlendCopy;
        case kAdd:
            return kBlendAdd | kBlendUseAlpha;
        case kColourDodge:
            return kBlendDodge | kBlendUseAlpha;
        default:
            return kBlendCopy | kBlendUseAlpha;
        }
    }
};

} // namespace tpm
