// Plays a Schedule into a hosted plug-in while a host renders: tells the render loop where to end
// each block so that steps land on their exact frame and ramps move at least every 10 ms, and
// applies each change through the plug-in's own entry points, as a host's automation does
// (setParameter with normalised values, effSetProgram for programs).
//
// Real-time safe once constructed: the constructor asks the plug-in everything that can be known
// in advance and reserves all memory, so Prepare neither allocates nor builds strings on the heap,
// and can run on a device's audio callback.
#pragma once

#include "tools/hostkit/Schedule.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <vector>

class ScheduleRunner
{
  public:
    // The plug-in and the schedule must outlive the runner.
    ScheduleRunner(Vst2HostedPlugin& plugin, const Schedule& schedule, double sampleRate);

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
    void SetNormalized(int index, double normalized);
    void SetReal(int index, double real);
    bool VendorDisplay(int index, double normalized, double& real);
    bool CurrentValue(int index, double& real);

    Vst2HostedPlugin& plugin;
    const Schedule& schedule;
    double sampleRate;
    long long updateFrames;
    std::vector<long long> stepFrames;
    std::vector<long long> rampEndFrames;
    std::vector<Change> changes;          // every step's parameters, step after step
    std::vector<std::size_t> firstChange; // per step, where its changes begin; one past the last
    std::size_t nextStep = 0;
    std::vector<Ramp> ramps;
};
