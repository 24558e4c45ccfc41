// What the product decides once for every binding: its parameters by index, the band names the
// engine reports under "Beats", and which of an LFO's two rate knobs the editor hides. A binding
// takes them from here, so no format keeps a copy that could drift from the engine.
#pragma once

#include "engine/BandNames.h"
#include "engine/ParamId.h"

namespace tpm
{
// The parameter that switches LFO k (0 or 1) between a rate in ms and a tempo-synced one.
constexpr int LfoSyncParam(int lfo)
{
    return ToIndex(ForLfo(ParamId::kLfo1Sync, lfo));
}

// Of LFO k's two rate knobs, which share one spot, the one its rate kind does not use: the editor
// hides it.
constexpr int HiddenRateParam(int lfo, bool synced)
{
    return ToIndex(ForLfo(synced ? ParamId::kLfo1RateMs : ParamId::kLfo1RateSync, lfo));
}
} // namespace tpm
