// The plug-in's 23 parameters by index: the order of the host's parameter list, of preset data and
// of state chunks. The engine switches on them; the plug-in's parameter table defines them.
#pragma once

#include <cstdint>

namespace tpm
{
enum class ParamId : int16_t
{
    kNone = -1,
    kBaseFreq = 0,
    kBinaural,
    kWave,
    kBinauralPan,
    kBeats,
    kPlayAnyway,
    kFade,
    kMix,
    kLfo1Target,
    kLfo1Wave,
    kLfo1Sync,
    kLfo1RateSync,
    kLfo1RateMs,
    kLfo1Depth,
    kLfo1Start,
    kLfo2Target,
    kLfo2Wave,
    kLfo2Sync,
    kLfo2RateSync,
    kLfo2RateMs,
    kLfo2Depth,
    kLfo2Start,
    kRestartLfos,
};

constexpr int kParamCount = 23;
// LFO 2's parameters follow LFO 1's in the same order.
constexpr int kLfoParamStride = 7;

constexpr int ToIndex(ParamId id)
{
    return static_cast<int>(id);
}

constexpr bool IsParam(ParamId id)
{
    return ToIndex(id) >= 0 && ToIndex(id) < kParamCount;
}

// A host or table index as a parameter; kNone when it names none of them.
constexpr ParamId ToParamId(int index)
{
    return index >= 0 && index < kParamCount ? static_cast<ParamId>(index) : ParamId::kNone;
}

// The same parameter of LFO k (0 or 1), given LFO 1's.
constexpr ParamId ForLfo(ParamId lfo1Param, int k)
{
    return static_cast<ParamId>(ToIndex(lfo1Param) + k * kLfoParamStride);
}

static_assert(ToIndex(ParamId::kRestartLfos) + 1 == kParamCount);
static_assert(ToIndex(ParamId::kLfo2Target) - ToIndex(ParamId::kLfo1Target) == kLfoParamStride);
} // namespace tpm
