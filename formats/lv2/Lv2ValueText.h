// An extension of this plug-in's own, asked for through extension_data: the display text the other
// formats show for a control port's value ("200.0", "Sine"), so that a host that knows it shows the
// same texts. LV2 itself carries only numbers; hosts that do not ask still get those.
#pragma once

#include <lv2/core/lv2.h>

#include <cstdint>

namespace tpm
{
namespace lv2valuetext
{
inline constexpr char kUri[] = "https://www.twinpulsetonemix.org/plugins/twinPulseToneMix#valueText";

struct Interface
{
    // Writes the text of `value` (in the port's units) into `out`, terminated and cut to `size`; false
    // for a port that is no parameter. Any thread; never waits.
    bool (*format)(LV2_Handle instance, uint32_t port, float value, char* out, uint32_t size);
};
} // namespace lv2valuetext
} // namespace tpm
