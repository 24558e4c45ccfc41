// Asking a VST3 object for another of its interfaces: the interface with a reference the caller
// releases, or null when the object is null or has no such interface.
#pragma once

#include "formats/vst3/Vst3Abi.h"

namespace tpm
{
template <typename Interface> Interface* Vst3Query(vst3::FUnknown* object)
{
    void* found = nullptr;
    if (!object || object->queryInterface(Interface::iid.bytes, &found) != vst3::kResultOk)
        return nullptr;
    return static_cast<Interface*>(found);
}
} // namespace tpm
