#include "tools/hostkit/ScheduleRunner.h"

#include <algorithm>
#include <cmath>

namespace tpm
{
namespace
{
constexpr double kRampUpdateSeconds = 0.010;

long long FrameAt(double seconds, double sampleRate)
{
    return std::llround(seconds * sampleRate);
}
} // namespace

ScheduleRunner::ScheduleRunner(HostedInstance& plugin, const Schedule& schedule, double sampleRate)
    : plugin(plugin), schedule(schedule),
      updateFrames(std::max(1LL, static_cast<long long>(std::floor(kRampUpdateSeconds * sampleRate))))
{
    for (const ScheduleStep& step : schedule.steps)
    {
        stepFrames.push_back(FrameAt(step.seconds, sampleRate));
        rampEndFrames.push_back(FrameAt(step.seconds + step.rampSeconds, sampleRate));
    }
    PlanChanges();
    // Room for every ramp at once, so that starting one never allocates while rendering.
    std::size_t rampCount = 0;
    for (const Change& change : changes)
        rampCount += change.ramped ? 1 : 0;
    ramps.reserve(rampCount);
}

// Resolves each step's parameters now, not while rendering: whether a ramp applies (the parameter
// moves rather than switches, and both ends of its range are known in its own units) and where it
// ends.
void ScheduleRunner::PlanChanges()
{
    for (const ScheduleStep& step : schedule.steps)
    {
        firstChange.push_back(changes.size());
        for (const ScheduledParam& param : step.params)
        {
            Change change;
            change.index = param.setting.index;
            change.normalized = param.setting.normalized;
            change.ramped =
                step.rampSeconds > 0.0 && plugin.UnitsOfNormalized(change.index, 0.0, change.min) &&
                plugin.UnitsOfNormalized(change.index, 1.0, change.max) && change.min <= change.max;
            if (change.ramped)
            {
                double target = param.realValue;
                if (std::isnan(target) && !plugin.UnitsOfNormalized(change.index, change.normalized, target))
                    target = change.min;
                change.target = std::clamp(target, change.min, change.max);
            }
            changes.push_back(change);
        }
    }
    firstChange.push_back(changes.size());
}

int ScheduleRunner::Prepare(long long frame, int maxFrames)
{
    while (nextStep < stepFrames.size() && stepFrames[nextStep] <= frame)
    {
        ApplyStep(nextStep, stepFrames[nextStep]);
        ++nextStep;
    }
    for (Ramp& ramp : ramps)
        if (ramp.nextFrame <= frame)
            UpdateRamp(ramp, frame);
    DropFinishedRamps();

    long long next = frame + std::max(1, maxFrames);
    if (nextStep < stepFrames.size())
        next = std::min(next, stepFrames[nextStep]);
    for (const Ramp& ramp : ramps)
        next = std::min(next, ramp.nextFrame);
    return static_cast<int>(std::max(1LL, next - frame));
}

void ScheduleRunner::ApplyStep(std::size_t step, long long frame)
{
    if (schedule.steps[step].program >= 0)
        plugin.SelectProgram(schedule.steps[step].program);
    for (std::size_t i = firstChange[step]; i < firstChange[step + 1]; ++i)
    {
        const Change& change = changes[i];
        // List parameters, and every parameter of a line without "over", switch at the step.
        if (change.ramped)
        {
            StartRamp(change, frame, rampEndFrames[step]);
            continue;
        }
        CancelRamp(change.index);
        plugin.SetParamNormalized(change.index, change.normalized);
    }
}

void ScheduleRunner::StartRamp(const Change& change, long long startFrame, long long endFrame)
{
    CancelRamp(change.index);
    double from = 0.0;
    if (endFrame <= startFrame || !plugin.ValueInUnits(change.index, from))
    {
        plugin.SetValueInUnits(change.index, change.target);
        return;
    }
    Ramp ramp;
    ramp.index = change.index;
    ramp.from = std::clamp(from, change.min, change.max);
    ramp.to = change.target;
    ramp.startFrame = startFrame;
    ramp.endFrame = endFrame;
    ramp.nextFrame = std::min(startFrame + updateFrames, endFrame);
    ramps.push_back(ramp);
}

void ScheduleRunner::UpdateRamp(Ramp& ramp, long long frame)
{
    if (frame >= ramp.endFrame)
    {
        plugin.SetValueInUnits(ramp.index, ramp.to);
        ramp.index = -1; // done
        return;
    }
    const double position =
        static_cast<double>(frame - ramp.startFrame) / static_cast<double>(ramp.endFrame - ramp.startFrame);
    plugin.SetValueInUnits(ramp.index, ramp.from + (ramp.to - ramp.from) * position);
    ramp.nextFrame = std::min(frame + updateFrames, ramp.endFrame);
}

void ScheduleRunner::CancelRamp(int index)
{
    for (Ramp& ramp : ramps)
        if (ramp.index == index)
            ramp.index = -1;
    DropFinishedRamps();
}

void ScheduleRunner::DropFinishedRamps()
{
    ramps.erase(std::remove_if(ramps.begin(), ramps.end(), [](const Ramp& r) { return r.index < 0; }),
                ramps.end());
}
} // namespace tpm
