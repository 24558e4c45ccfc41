// Parameter settings given as text ("Name=value", "#index=value", "index=normalised"), checked the
// way a careful host checks them before anything reaches the plug-in.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/ParamSetting.h"

#include <string>
#include <vector>

namespace tpm
{
// What a parameter shows a host: from the range the plug-in states (CLAP), or else learnt through
// normalised values alone (on the plug-in's spare instance, so the one in use keeps its values).
struct ParamDescription
{
    std::string name;
    std::string label;
    std::string lowest, highest;    // the display at normalised 0 and 1
    double min = 0.0, max = 0.0;    // the same as numbers, for numeric parameters
    bool isList = false;            // a parameter whose values are texts
    std::vector<std::string> texts; // a list's texts, lowest first
};

ParamDescription DescribeParam(HostedInstance& plugin, int index);
// "Sine, Triangle, Saw" for a list ("one of 3 texts, Sine to Saw" when `brief`), "20.0 to 20000.0 Hz"
// for a number.
std::string DescribeRange(const ParamDescription& description, bool brief = false);

class ParamCatalog;

// Resolves "Name=value", "#index=value" or "index=normalised" against the plug-in without applying it.
// List texts match without regard to case; a name two parameters share, an unknown text, an
// unparsable or non-finite number are errors; a number outside the range is clamped with a warning.
bool ResolveParamAssignment(ParamCatalog& catalog, const std::string& assignment, ParamSetting& out,
                            std::string& error);
// Resolves and applies the assignment; a warning, if any, goes to `warning` when given.
bool ApplyParamAssignment(HostedInstance& plugin, const std::string& assignment, std::string& error,
                          std::string* warning = nullptr);
} // namespace tpm
