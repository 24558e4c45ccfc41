// The host's side of an LV2 plug-in's state interface for plug-ins that keep their state in one value
// (as ours does, the bank): save takes that value with its type, restore hands one back.
#pragma once

#include <lv2/state/state.h>

#include <cstdint>
#include <vector>

namespace tpm
{
class Lv2StateCalls
{
  public:
    // The value the plug-in stored and its type's URID; false when it refused or stored nothing.
    static bool Save(const LV2_State_Interface* state, LV2_Handle plugin, std::vector<uint8_t>& value,
                     uint32_t& type);
    // Offers `value` as of `type` for any key the plug-in asks for.
    static LV2_State_Status Restore(const LV2_State_Interface* state, LV2_Handle plugin,
                                    const std::vector<uint8_t>& value, uint32_t type);

  private:
    struct Slot
    {
        std::vector<uint8_t> value;
        uint32_t type = 0;
    };
    static LV2_State_Status Store(LV2_State_Handle slot, uint32_t key, const void* value, size_t size,
                                  uint32_t type, uint32_t flags);
    static const void* Retrieve(LV2_State_Handle slot, uint32_t key, size_t* size, uint32_t* type,
                                uint32_t* flags);
};
} // namespace tpm
