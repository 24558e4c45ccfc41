// STAND-IN, to be replaced: the reworked render command brings the checked
// ResolveParamAssignment with this same signature; drop this file when it lands. Until then this
// resolves today's -p forms without changing the plug-in, so that schedules can be checked
// before anything is rendered.
#include "tools/vsthost/Commands.h"

#include <cmath>
#include <cstdlib>

namespace tpm
{
namespace
{
constexpr intptr_t kVendorAnswer = 0xBEEF;

bool IsNumber(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(value);
}

// The plug-in's own reading of a display text; a text that is neither a number nor one of the
// parameter's texts (which the plug-in would read as 0) is refused.
bool TextToNormalized(Vst2HostedPlugin& plugin, int index, const std::string& text, double& normalized,
                      std::string& error)
{
    char buffer[256] = {};
    if (text.size() >= sizeof buffer)
    {
        error = "value '" + text + "' is too long";
        return false;
    }
    text.copy(buffer, text.size());
    if (plugin.Dispatch(vst::effVendorSpecific, vst::effString2Parameter, index, buffer) != kVendorAnswer)
    {
        error = "the plug-in cannot read values for parameter " + std::to_string(index);
        return false;
    }
    normalized = std::strtod(buffer, nullptr);
    char display[256] = {};
    plugin.Dispatch(vst::effVendorSpecific, vst::effGetParamDisplay, index, display,
                    static_cast<float>(normalized));
    if (IsNumber(text) || text == display)
        return true;
    error =
        "value '" + text + "' for '" + plugin.ParamName(index) + "' is neither a number nor one of its texts";
    return false;
}
} // namespace

bool ResolveParamAssignment(Vst2HostedPlugin& plugin, const std::string& assignment, ParamSetting& setting,
                            std::string& error)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
    {
        error = "parameter '" + assignment + "' is not of the form name=value";
        return false;
    }
    const std::string key = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    const int count = plugin.Effect()->numParams;
    auto parseIndex = [&](const std::string& text, int& index) {
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || n < 0 || n >= count)
            return false;
        index = static_cast<int>(n);
        return true;
    };
    setting = ParamSetting{};
    if (key[0] == '#')
    {
        if (!parseIndex(key.substr(1), setting.index))
        {
            error = "no parameter with index '" + key.substr(1) + "'";
            return false;
        }
        return TextToNormalized(plugin, setting.index, value, setting.normalized, error);
    }
    if (parseIndex(key, setting.index))
    {
        char* end = nullptr;
        setting.normalized = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(setting.normalized >= 0.0 && setting.normalized <= 1.0))
        {
            error = "value '" + value + "' for parameter " + key + " is not a normalised value 0..1";
            return false;
        }
        return true;
    }
    setting.index = plugin.FindParam(key);
    if (setting.index < 0)
    {
        error = "no parameter named '" + key + "'";
        return false;
    }
    return TextToNormalized(plugin, setting.index, value, setting.normalized, error);
}
} // namespace tpm
