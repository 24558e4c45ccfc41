// Takes a block's IParameterChanges apart into the product's timed changes: every point of every
// product parameter at its frame, in frame order, in the parameter's own units. The program-change
// parameter's last point is handed back on its own (a program is selected on the main thread).
// Storage is fixed, so reading allocates nothing on the audio thread.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "plugin/PluginInstance.h"

#include <array>
#include <span>

namespace tpm
{
class PluginInstance;

class Vst3ChangeReader
{
  public:
    // Points one block can carry; a busier block keeps an even share of each parameter's points,
    // its first and last among them.
    static constexpr int kCapacity = 1024;

    // The program-change parameter's last point in a block.
    struct ProgramPoint
    {
        bool present = false;
        double normalized = 0.0;
        int offset = 0;
    };

    // program is set when the block has a point of the program parameter, else left alone. Points
    // outside [0, frames] are moved to the nearer end.
    std::span<const ParamChange> Read(vst3::IParameterChanges* changes, const PluginInstance& instance,
                                      int frames, ProgramPoint& program);

  private:
    struct Point
    {
        ParamChange change;
        int order = 0; // keeps a parameter's points in their queue's order among equal frames
    };
    void Add(const PluginInstance& instance, vst3::IParamValueQueue& queue, int index, int frames);

    std::array<Point, kCapacity> points{};
    std::array<ParamChange, kCapacity> sorted{};
    int count = 0;
};
} // namespace tpm
