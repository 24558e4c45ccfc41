// Where the tone engine reads the parameter values it works from. A reader only: the engine never
// calls back into the plug-in; what it wants written back it returns, and the transport comes with
// each block.
#pragma once

#include "engine/ParamId.h"

namespace tpm
{
class IParamValues
{
  public:
    virtual double ParamValue(ParamId param) const = 0;

  protected:
    ~IParamValues() = default;
};
} // namespace tpm
