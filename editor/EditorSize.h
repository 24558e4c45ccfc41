// The editor's sizes: its logical layout size, the scales it draws at, and the aspect-correct
// physical size nearest to what a host or the user asks for.
#pragma once

namespace tpm
{
inline constexpr int kEditorLogicalWidth = 550;
inline constexpr int kEditorLogicalHeight = 363;
inline constexpr double kMinEditorScale = 1.0;
inline constexpr double kMaxEditorScale = 3.0;
struct EditorSize
{
    int width;
    int height;
    double scale;
};
// The physical size at a scale (limited to 1..3), each side rounded to the nearest pixel.
EditorSize EditorSizeAtScale(double scale);
// The largest aspect-correct size that fits in width x height, limited to scales 1..3.
EditorSize FitEditorSize(int width, int height);
} // namespace tpm
