#include "tools/hostkit/ScheduleRunner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr double kRampUpdateSeconds = 0.010;
// The answer of the plug-in's vendor-specific requests when it understood them.
constexpr intptr_t kVendorAnswer = 0xBEEF;
constexpr int kVendorIsTwoValued = 8;
constexpr std::size_t kTextSize = 256;

// A whole, finite number and nothing else; reads the text in place, so nothing is allocated.
bool ParseNumber(const char* text, double& value)
{
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc{} && result.ptr == end && std::isfinite(value);
}

long long FrameAt(double seconds, double sampleRate)
{
    return std::llround(seconds * sampleRate);
}
} // namespace

ScheduleRunner::ScheduleRunner(Vst2HostedPlugin& plugin, const Schedule& schedule, double sampleRate)
    : plugin(plugin), schedule(schedule), sampleRate(sampleRate),
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

// Resolves each step's parameters now, not while rendering: whether a ramp applies (the plug-in
// shows both ends of the range as plain numbers and does not call the parameter two-valued; those
// numbers are its range in real units) and where it ends.
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
                step.rampSeconds > 0.0 &&
                plugin.Dispatch(vst::effVendorSpecific, kVendorIsTwoValued, change.index) != kVendorAnswer &&
                VendorDisplay(change.index, 0.0, change.min) &&
                VendorDisplay(change.index, 1.0, change.max) && change.min <= change.max;
            if (change.ramped)
            {
                double target = param.realValue;
                if (std::isnan(target) && !VendorDisplay(change.index, change.normalized, target))
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
        plugin.Dispatch(vst::effSetProgram, 0, schedule.steps[step].program);
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
        SetNormalized(change.index, change.normalized);
    }
}

void ScheduleRunner::StartRamp(const Change& change, long long startFrame, long long endFrame)
{
    CancelRamp(change.index);
    double from = 0.0;
    if (endFrame <= startFrame || !CurrentValue(change.index, from))
    {
        SetReal(change.index, change.target);
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
        SetReal(ramp.index, ramp.to);
        ramp.index = -1; // done
        return;
    }
    const double position =
        static_cast<double>(frame - ramp.startFrame) / static_cast<double>(ramp.endFrame - ramp.startFrame);
    SetReal(ramp.index, ramp.from + (ramp.to - ramp.from) * position);
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

void ScheduleRunner::SetNormalized(int index, double normalized)
{
    AEffect* effect = plugin.Effect();
    effect->setParameter(effect, index, static_cast<float>(normalized));
}

// Real units reach the plug-in through its own text-to-value mapping: it turns the number into a
// normalised value, which goes in through setParameter like any automation.
void ScheduleRunner::SetReal(int index, double real)
{
    char text[kTextSize] = {};
    std::snprintf(text, sizeof text, "%.12g", real);
    if (plugin.Dispatch(vst::effVendorSpecific, vst::effString2Parameter, index, text) == kVendorAnswer)
    {
        text[sizeof text - 1] = '\0';
        SetNormalized(index, std::strtod(text, nullptr));
        return;
    }
    // A plug-in without that request still reads the number as a host's text entry.
    std::snprintf(text, sizeof text, "%.12g", real);
    plugin.Dispatch(vst::effString2Parameter, index, 0, text);
}

// What the plug-in would show for a normalised value, read as a number in its own units.
bool ScheduleRunner::VendorDisplay(int index, double normalized, double& real)
{
    char text[kTextSize] = {};
    if (plugin.Dispatch(vst::effVendorSpecific, vst::effGetParamDisplay, index, text,
                        static_cast<float>(normalized)) != kVendorAnswer)
        return false;
    text[sizeof text - 1] = '\0';
    return ParseNumber(text, real);
}

bool ScheduleRunner::CurrentValue(int index, double& real)
{
    char text[kTextSize] = {};
    plugin.Dispatch(vst::effGetParamDisplay, index, 0, text);
    text[sizeof text - 1] = '\0';
    return ParseNumber(text, real);
}
