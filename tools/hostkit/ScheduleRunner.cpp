#include "tools/hostkit/ScheduleRunner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
constexpr double kRampUpdateSeconds = 0.010;
// The answer of the plug-in's vendor-specific requests when it understood them.
constexpr intptr_t kVendorAnswer = 0xBEEF;
constexpr int kVendorIsTwoValued = 8;
constexpr std::size_t kTextSize = 256;

bool ParseNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc{} && result.ptr == end && std::isfinite(value);
}

long long FrameAt(double seconds, double sampleRate)
{
    return std::llround(seconds * sampleRate);
}
} // namespace

ScheduleRunner::ScheduleRunner(HostedPlugin& plugin, const Schedule& schedule, double sampleRate)
    : plugin(plugin), schedule(schedule), sampleRate(sampleRate),
      updateFrames(std::max(1LL, static_cast<long long>(std::floor(kRampUpdateSeconds * sampleRate))))
{
    for (const ScheduleStep& step : schedule.steps)
    {
        stepFrames.push_back(FrameAt(step.seconds, sampleRate));
        // Ask about ramped parameters now, not while rendering.
        if (step.rampSeconds > 0.0)
            for (const ScheduledParam& param : step.params)
                RangeOf(param.setting.index);
    }
    // Room for every ramp at once, so that starting one never allocates while rendering.
    std::size_t rampCount = 0;
    for (const ScheduleStep& step : schedule.steps)
        rampCount += step.rampSeconds > 0.0 ? step.params.size() : 0;
    ramps.reserve(rampCount);
}

int ScheduleRunner::Prepare(long long frame, int maxFrames)
{
    while (nextStep < stepFrames.size() && stepFrames[nextStep] <= frame)
    {
        ApplyStep(schedule.steps[nextStep], stepFrames[nextStep]);
        ++nextStep;
    }
    for (Ramp& ramp : ramps)
        if (ramp.nextFrame <= frame)
            UpdateRamp(ramp, frame);
    ramps.erase(std::remove_if(ramps.begin(), ramps.end(), [](const Ramp& r) { return r.index < 0; }),
                ramps.end());

    long long next = frame + std::max(1, maxFrames);
    if (nextStep < stepFrames.size())
        next = std::min(next, stepFrames[nextStep]);
    for (const Ramp& ramp : ramps)
        next = std::min(next, ramp.nextFrame);
    return static_cast<int>(std::max(1LL, next - frame));
}

void ScheduleRunner::ApplyStep(const ScheduleStep& step, long long frame)
{
    if (step.program >= 0)
        plugin.Dispatch(vst::effSetProgram, 0, step.program);
    const long long endFrame = FrameAt(step.seconds + step.rampSeconds, sampleRate);
    for (const ScheduledParam& param : step.params)
    {
        const int index = param.setting.index;
        // List parameters, and every parameter of a line without "over", switch at the step.
        if (step.rampSeconds > 0.0 && RangeOf(index).numeric)
        {
            StartRamp(param, frame, endFrame);
            continue;
        }
        CancelRamp(index);
        SetNormalized(index, param.setting.normalized);
    }
}

void ScheduleRunner::StartRamp(const ScheduledParam& param, long long startFrame, long long endFrame)
{
    const int index = param.setting.index;
    CancelRamp(index);
    const NumericRange& range = RangeOf(index);
    double to = param.realValue;
    if (std::isnan(to) && !ParseNumber(DisplayOf(index, param.setting.normalized), to))
        to = range.min;
    to = std::clamp(to, range.min, range.max);
    double from = 0.0;
    if (endFrame <= startFrame || !ParseNumber(CurrentDisplay(index), from))
    {
        SetReal(index, to);
        return;
    }
    Ramp ramp;
    ramp.index = index;
    ramp.from = std::clamp(from, range.min, range.max);
    ramp.to = to;
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
    ramps.erase(std::remove_if(ramps.begin(), ramps.end(), [](const Ramp& r) { return r.index < 0; }),
                ramps.end());
}

// A parameter is numeric when the plug-in does not call it two-valued and shows both ends of its
// range as plain numbers; those numbers are its range in real units.
const ScheduleRunner::NumericRange& ScheduleRunner::RangeOf(int index)
{
    auto found = ranges.find(index);
    if (found != ranges.end())
        return found->second;
    NumericRange range;
    const bool twoValued =
        plugin.Dispatch(vst::effVendorSpecific, kVendorIsTwoValued, index) == kVendorAnswer;
    range.numeric = !twoValued && ParseNumber(DisplayOf(index, 0.0), range.min) &&
                    ParseNumber(DisplayOf(index, 1.0), range.max) && range.min <= range.max;
    return ranges.emplace(index, range).first->second;
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

std::string ScheduleRunner::DisplayOf(int index, double normalized)
{
    char text[kTextSize] = {};
    if (plugin.Dispatch(vst::effVendorSpecific, vst::effGetParamDisplay, index, text,
                        static_cast<float>(normalized)) != kVendorAnswer)
        return {};
    text[sizeof text - 1] = '\0';
    return text;
}

std::string ScheduleRunner::CurrentDisplay(int index)
{
    char text[kTextSize] = {};
    plugin.Dispatch(vst::effGetParamDisplay, index, 0, text);
    text[sizeof text - 1] = '\0';
    return text;
}
