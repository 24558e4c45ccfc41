// The parameter indices as plain ints, for tests that index value lists by them.
#pragma once

#include "engine/ParamId.h"

namespace tpm
{
constexpr int kBaseFreq = ToIndex(ParamId::kBaseFreq);
constexpr int kBinaural = ToIndex(ParamId::kBinaural);
constexpr int kWave = ToIndex(ParamId::kWave);
constexpr int kBinauralPan = ToIndex(ParamId::kBinauralPan);
constexpr int kBeats = ToIndex(ParamId::kBeats);
constexpr int kPlayAnyway = ToIndex(ParamId::kPlayAnyway);
constexpr int kFade = ToIndex(ParamId::kFade);
constexpr int kMix = ToIndex(ParamId::kMix);
constexpr int kLfo1Target = ToIndex(ParamId::kLfo1Target);
constexpr int kLfo1Wave = ToIndex(ParamId::kLfo1Wave);
constexpr int kLfo1Sync = ToIndex(ParamId::kLfo1Sync);
constexpr int kLfo1RateSync = ToIndex(ParamId::kLfo1RateSync);
constexpr int kLfo1RateMs = ToIndex(ParamId::kLfo1RateMs);
constexpr int kLfo1Depth = ToIndex(ParamId::kLfo1Depth);
constexpr int kLfo1Start = ToIndex(ParamId::kLfo1Start);
constexpr int kLfo2Target = ToIndex(ParamId::kLfo2Target);
constexpr int kLfo2Wave = ToIndex(ParamId::kLfo2Wave);
constexpr int kLfo2Sync = ToIndex(ParamId::kLfo2Sync);
constexpr int kLfo2RateSync = ToIndex(ParamId::kLfo2RateSync);
constexpr int kLfo2RateMs = ToIndex(ParamId::kLfo2RateMs);
constexpr int kLfo2Depth = ToIndex(ParamId::kLfo2Depth);
constexpr int kLfo2Start = ToIndex(ParamId::kLfo2Start);
constexpr int kRestartLfos = ToIndex(ParamId::kRestartLfos);
} // namespace tpm
