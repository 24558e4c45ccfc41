// Plays a Schedule into a hosted plug-in while a host renders: tells the render loop where to end
// each block so that steps land on their exact frame and ramps move at least every 10 ms, and
// applies each change through the plug-in's own entry points, as a host's automation does
// (normalised values, program changes, ramps in the parameter's own units), in any format.
//
// Real-time safe once constructed: the constructor asks the plug-in everything that can be known
// in advance and reserves all memory, so Prepare itself neither allocates nor builds strings on the
// heap, and can run on a device's audio callback. The calls it makes cost what the hosted format's
// do there: a VST2 module and LV2 ports take values as automation, while a program change in the
// CLAP, VST3 or LV2 host and the VST3 host's controller calls are user-interface-thread work.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/Schedule.h"

#include <vector>

namespace tpm
{
class ScheduleRunner
{
  public:
    // The plug-in and the schedule must outlive the runner.
    ScheduleRunner(HostedInstance& plugin, const Schedule& schedule, double sampleRate);

    // Applies every change due at `frame` and answers how many frames the host may process from
    // there before the next one: at least 1, at most `maxFrames`. Call once before each block.
    int Prepare(long long frame, int maxFrames);

  private:
    // One parameter of one step, resolved when the schedule was loaded.
    struct Change
    {
        int index = -1;
        double normalized = 0.0; // what a switch sets
        bool ramped = false;     // a numeric parameter on a line with "over"
        double target = 0.0;     // the ramp's end in real units, within [min, max]
        double min = 0.0;
        double max = 0.0;
    };
    // A numeric parameter moving linearly, in its own units, between two frames.
    struct Ramp
    {
        int index = -1;
        double from = 0.0;
        double to = 0.0;
        long long startFrame = 0;
        long long endFrame = 0;
        long long nextFrame = 0;
    };

    void PlanChanges();
    void ApplyStep(std::size_t step, long long frame);
    void StartRamp(const Change& change, long long startFrame, long long endFrame);
    void UpdateRamp(Ramp& ramp, long long frame);
    void CancelRamp(int index);
    void DropFinishedRamps();

    HostedInstance& plugin;
    const Schedule& schedule;
    long long updateFrames;
    std::vector<long long> stepFrames;
    std::vector<long long> rampEndFrames;
    std::vector<Change> changes;          // every step's parameters, step after step
    std::vector<std::size_t> firstChange; // per step, where its changes begin; one past the last
    std::size_t nextStep = 0;
    std::vector<Ramp> ramps;
};
} // namespace tpm
