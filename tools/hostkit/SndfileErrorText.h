// libsndfile's error texts, in the tool's one-line style: "System error : X." becomes "X".
#pragma once

#include <string>

namespace tpm
{
inline std::string SndfileErrorText(const char* text)
{
    std::string reason = text ? text : "unknown error";
    const std::string system = "System error : ";
    if (reason.compare(0, system.size(), system) == 0)
        reason.erase(0, system.size());
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ' || reason.back() == '\n'))
        reason.pop_back();
    return reason;
}
} // namespace tpm
