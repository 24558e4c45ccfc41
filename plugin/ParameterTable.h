// The 23 parameters of twinPulseToneMix and the plug-in's identity.
#pragma once

#include "core/PluginCore.h"
#include "engine/ParamId.h"

namespace tpm
{
EffectIdentity PluginIdentity();
// Defines parameters 0 to 21 in index order; 22 keeps the state every parameter starts in.
void DefineParameters(PluginCore& plugin);
// The title of a parameter where its name will not do for formats that list every parameter by
// title (VST3, CLAP, LV2): there each needs a title of its own, the hidden LFO restart included.
// Null where the name serves; VST2 keeps the names saved projects know.
const char* ParameterTitle(int paramIdx);
} // namespace tpm
