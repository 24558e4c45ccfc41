// What the plug-in core asks of its host, whatever the plug-in format: the binding implements it
// and translates each call into the host's own protocol.
#pragma once

#include "core/ProcessTypes.h"

namespace tpm
{
class IHostLink
{
  public:
    virtual void Automate(int paramIdx, double normalized) = 0;
    virtual void BeginEdit(int paramIdx) = 0;
    virtual void EndEdit(int paramIdx) = 0;
    virtual void UpdateDisplay() = 0;
    // The host's transport as it stands in the current block, for the parts asked.
    virtual TransportSnapshot Transport(TransportNeeds needs) = 0;

  protected:
    ~IHostLink() = default;
};
} // namespace tpm
