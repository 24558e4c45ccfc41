// The 23 parameters of twinPulseToneMix and the plug-in's identity.
#pragma once

#include "core/IEffectBase.h"

enum ParamIndex : int
{
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
    kParamCount
};

IEffectIdentity PluginIdentity();
// Defines parameters 0 to 21 in index order; 22 keeps the state every parameter starts in.
void DefineParameters(IEffectBase& plugin);
