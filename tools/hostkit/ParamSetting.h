// One parameter value as a host means to set it: which parameter, the normalised value the host
// hands to setParameter, and a note for the user when the text had to be adjusted (e.g. clamped).
#pragma once

#include <functional>
#include <string>

namespace tpm
{
struct ParamSetting
{
    int index = -1;
    double normalized = 0.0;
    std::string warning;
};

// Turns "Name=value", "#index=value" or "index=normalised" into a setting without changing the
// plug-in; false with a message when the name or the value is not acceptable.
using ParamResolver =
    std::function<bool(const std::string& assignment, ParamSetting& setting, std::string& error)>;
} // namespace tpm
