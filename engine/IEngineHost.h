// What the tone engine needs from the plug-in around it: parameter values, the host's clock and
// transport, and the way back for parameter changes the engine makes itself.
#pragma once

#include "engine/ParamId.h"

class IEngineHost
{
  public:
    virtual double ParamValue(ParamId param) const = 0;
    // The live sample rate the host set.
    virtual double LiveSampleRate() const = 0;
    // Samples per beat at the host tempo; 0 when the host reports no valid tempo.
    virtual double GetSamplesPerBeat() = 0;
    // 0 stopped (or no time information), 1 playing, 2 recording.
    virtual int GetTransportState() = 0;
    // Runs the whole change handler for a parameter (re-entrant under the plug-in lock).
    virtual void HandleParamChange(ParamId param) = 0;
    // Clamps, stores and announces a value the engine chose for one of its own parameters.
    virtual void SetParamFromEngine(ParamId param, double value) = 0;

  protected:
    ~IEngineHost() = default;
};
