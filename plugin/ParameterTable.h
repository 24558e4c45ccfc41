// The 23 parameters of twinPulseToneMix and the plug-in's identity.
#pragma once

#include "core/IEffectBase.h"
#include "engine/ParamId.h"

IEffectIdentity PluginIdentity();
// Defines parameters 0 to 21 in index order; 22 keeps the state every parameter starts in.
void DefineParameters(IEffectBase& plugin);
