// A timeline for a plug-in: program changes and parameter values at given times, optionally
// ramped, as read from a schedule file and resolved against one plug-in's parameters and programs.
//
// File format, one step a line ('#' starts a comment, unless it starts a "#index=" assignment):
//   TIME  [program N | program "name"]  [Name=value ...]  [over DURATION]
//   end TIME
// TIME and DURATION are ss, mm:ss or hh:mm:ss, the last field with optional decimals. Values with
// blanks are quoted: Wave="Golden Sine". A name with blanks may be quoted, "Base Freq"=200, or not,
// Base Freq=200, when the words before '=' are the name of a parameter.
#pragma once

#include "tools/hostkit/ParamSetting.h"

#include <functional>
#include <string>
#include <vector>

namespace tpm
{
struct ScheduledParam
{
    ParamSetting setting;
    // The value in the parameter's own units when the line gave a plain number (what a ramp aims
    // at); NaN when only the normalised value is known.
    double realValue = 0.0;
};

struct ScheduleStep
{
    double seconds = 0.0;
    double rampSeconds = 0.0; // "over": numeric parameters move there linearly; 0 switches at once
    int program = -1;         // -1: no program change
    std::vector<ScheduledParam> params;
    int line = 0;
};

struct Schedule
{
    std::vector<ScheduleStep> steps;
    double endSeconds = -1.0;          // from an "end" line; < 0 when there is none
    std::vector<std::string> warnings; // "file:line:column: ..." for values the resolver adjusted

    // The length the schedule asks for: its end line, else the latest step plus its ramp.
    double LengthSeconds() const;
};

// What the parser needs to know about the plug-in, given from outside so that parsing does not
// depend on how the host talks to it.
struct ScheduleLookups
{
    ParamResolver resolveParam;
    // Whether some parameter has this name (without regard to case): lets "Base Freq=200" go unquoted.
    std::function<bool(const std::string& name)> isParamName;
    std::function<int(const std::string& name)> findProgram; // index, or -1 for no such program
    int programCount = 0;
};

// The longest schedule, and so the latest time, a file may name: one day.
constexpr double kLongestScheduleSeconds = 86400.0;

// How long the sound fades out before a schedule's end, so that it never stops mid-wave.
constexpr double kScheduleEndFadeSeconds = 0.05;

// The largest schedule file read: some million lines, far more than a day of steps needs.
constexpr std::size_t kLargestScheduleBytes = std::size_t{64} << 20;

// Parses schedule text; on failure answers false with "file:line:column: ..." in `error`.
bool ParseSchedule(const std::string& text, const std::string& fileName, const ScheduleLookups& lookups,
                   Schedule& out, std::string& error);
bool ReadScheduleFile(const std::string& path, const ScheduleLookups& lookups, Schedule& out,
                      std::string& error);
} // namespace tpm
