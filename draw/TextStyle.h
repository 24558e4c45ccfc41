#pragma once

#include "draw/Rgba.h"

namespace tpm
{

class Font;

// How a control's text looks: face, pixel height, colour, bold/italic bits, alignment, orientation and
// antialiasing quality. Copied by value into each control; the font is looked up once and remembered.
struct TextStyle
{
    static constexpr int kFaceSize = 32;
    static constexpr int kBold = 1;
    static constexpr int kItalic = 2;
    static constexpr int kAlignLeft = 0;
    static constexpr int kAlignCentre = 1;
    static constexpr int kAlignRight = 2;
    static constexpr int kQualityDefault = 0;
    static constexpr int kQualityNoAntialias = 1;
    static constexpr int kQualityAntialias = 2;
    static constexpr int kQualityClearType = 3;

    char face[kFaceSize] = "Arial";
    int size = 14;
    Rgba colour{255, 0, 0, 0};
    int style = 0;
    int align = kAlignLeft;
    int orientation = 0; // degrees
    int quality = kQualityDefault;
    Font* cachedFont = nullptr; // owned by the process-wide font cache
    Font* scaledFont = nullptr; // the font at the editor's scale, when that differs from 1
    int scaledSize = 0;

    TextStyle() = default;
    // A face longer than the field keeps its first kFaceSize - 1 characters.
    TextStyle(const char* faceName, int sizePx, Rgba textColour, int styleBits = 0,
              int alignment = kAlignLeft, int orientationDeg = 0, int fontQuality = kQualityDefault);

    void SetFace(const char* faceName);
};

} // namespace tpm
