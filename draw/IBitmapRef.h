#pragma once

namespace tpm
{

class ISurface;

// A bitmap as controls see it: a surface owned by the process-wide cache, its whole size and how many
// frames are stacked in it. A missing picture has no surface and draws nothing.
struct IBitmapRef
{
    ISurface* surface = nullptr;
    int W = 0;
    int H = 0;
    int N = 1;
};

} // namespace tpm
