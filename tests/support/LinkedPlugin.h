// The plug-in linked into the test program, made through the same calls as the module's entry
// point, for tests that look inside the instance as well.
#pragma once

#include "formats/vst2/IEffectVST.h"
#include "plugin/PluginFactory.h"
#include "plugin/TwinPulseToneMix.h"

inline AEffect* MakeLinkedPlugin(audioMasterCallback host)
{
    return IEffectVST::Create(host, CreatePlugin());
}

inline TwinPulseToneMix* ProductOf(AEffect* effect)
{
    IEffectVST* binding = IEffectVST::FromEffect(effect);
    return binding ? static_cast<TwinPulseToneMix*>(&binding->Product()) : nullptr;
}
