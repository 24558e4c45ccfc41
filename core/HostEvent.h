// A message from the product to its host: an edit gesture, a new value, or a change of what the
// parameters display. The binding drains them and tells its host in the host's own way.
#pragma once

#include <cstdint>

namespace tpm
{
struct HostEvent
{
    enum class Kind : uint8_t
    {
        kBeginEdit,
        kValue,
        kEndEdit,
        kDisplayChanged,
    };
    Kind kind = Kind::kDisplayChanged;
    int32_t paramIdx = 0;
    double normalized = 0.0; // kValue: the value on the host's 0..1 scale, as the editor set it
    double value = 0.0;      // kValue: the same in the parameter's own units
};
} // namespace tpm
