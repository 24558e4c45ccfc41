// Plays a Schedule into a hosted plug-in while a host renders: tells the render loop where to end
// each block so that steps land on their exact frame and ramps move at least every 10 ms, and
// applies each change through the plug-in's own entry points, as a host's automation does
// (setParameter with normalised values, effSetProgram for programs).
#pragma once

#include "tools/hostkit/HostedPlugin.h"
#include "tools/hostkit/Schedule.h"

#include <map>
#include <vector>

class ScheduleRunner
{
  public:
    ScheduleRunner(HostedPlugin& plugin, const Schedule& schedule, double sampleRate);

    // Applies every change due at `frame` and answers how many frames the host may process from
    // there before the next one: at least 1, at most `maxFrames`. Call once before each block.
    int Prepare(long long frame, int maxFrames);

  private:
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
    // What ramping a parameter needs to know: whether it is numeric, and its range in real units.
    struct NumericRange
    {
        bool numeric = false;
        double min = 0.0;
        double max = 0.0;
    };

    void ApplyStep(const ScheduleStep& step, long long frame);
    void StartRamp(const ScheduledParam& param, long long startFrame, long long endFrame);
    void UpdateRamp(Ramp& ramp, long long frame);
    void CancelRamp(int index);
    const NumericRange& RangeOf(int index);
    void SetNormalized(int index, double normalized);
    void SetReal(int index, double real);
    std::string DisplayOf(int index, double normalized);
    std::string CurrentDisplay(int index);

    HostedPlugin& plugin;
    const Schedule& schedule;
    double sampleRate;
    long long updateFrames;
    std::vector<long long> stepFrames;
    std::size_t nextStep = 0;
    std::vector<Ramp> ramps;
    std::map<int, NumericRange> ranges;
};
